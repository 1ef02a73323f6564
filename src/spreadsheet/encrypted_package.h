// Recognising a password-protected .xlsx: Excel stores it as a compound file whose
// root holds an "EncryptedPackage" stream.
#pragma once

#include <filesystem>

namespace quvela::spreadsheet {

// Looks for the stream's directory entry at the places directory entries can be (every
// 128 bytes after the header sector). Reads the file in bounded chunks.
bool isEncryptedPackage(const std::filesystem::path &compoundFile);

} // namespace quvela::spreadsheet
