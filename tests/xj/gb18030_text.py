"""Prints a text file kept in GB18030 (the settings files) as UTF-8."""
import sys

sys.stdout.buffer.write(open(sys.argv[1], 'rb').read().decode('gb18030').encode('utf-8'))
