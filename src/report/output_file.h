// A file the outputs write front to back and put in place only when the run succeeds.
#pragma once

#include "common/gbk.h"

#include <QSaveFile>
#include <QString>

#include <string_view>

namespace quvela::report {

// "无法写入文件 NAME：WHY", the message of every output that cannot be written.
GbkString writeFailure(const QString &fileName, const QString &why);

// Until commit() an older file of that name stays as it was; dropping the object
// without commit() leaves nothing behind. Every failure throws QuvelaError.
class OutputFile
{
public:
    explicit OutputFile(const QString &fileName) : m_file(fileName) {}

    bool isOpen() const { return m_file.isOpen(); }
    void open();
    void write(std::string_view bytes); // opens the file first when needed
    void commit();                      // an empty file when nothing was written

private:
    QSaveFile m_file;
};

} // namespace quvela::report
