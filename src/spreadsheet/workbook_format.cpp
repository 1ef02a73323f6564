#include "spreadsheet/workbook_format.h"

#include "spreadsheet/spreadsheet_session.h"

#include <fstream>
#include <string>

namespace quvela::spreadsheet {

WorkbookFormat detectWorkbookFormat(const std::filesystem::path &file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        throw WorkbookOpenError(gbk::fromUtf8("找不到工作簿文件：") + gbk::fromPath(file));
    std::ifstream in(file, std::ios::binary);
    char head[8] = {};
    in.read(head, sizeof head);
    const std::streamsize got = in.gcount();
    if (!in && !in.eof())
        throw WorkbookOpenError(gbk::fromUtf8("无法读取工作簿文件：") + gbk::fromPath(file));
    const std::string bytes(head, static_cast<std::size_t>(got));
    if (bytes.empty())
        throw WorkbookOpenError(gbk::fromUtf8("工作簿文件是空的。"));
    if (bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06"))
        return WorkbookFormat::Xlsx;
    if (bytes == std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return WorkbookFormat::CompoundFile;
    std::size_t i = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\r' || bytes[i] == '\n' || bytes[i] == '\t'))
        ++i;
    if (i < bytes.size() && bytes[i] == '<')
        throw WorkbookOpenError(gbk::fromUtf8("这是网页或 XML 文件，不是 Excel 工作簿。请在 Excel 中另存为 .xlsx 格式。"));
    throw WorkbookOpenError(gbk::fromUtf8("这不是 Excel 工作簿文件（.xlsx 或 .xls）。"));
}

} // namespace quvela::spreadsheet
