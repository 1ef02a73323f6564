#include "spreadsheet/xls_error.h"

#include <string>

namespace quvela::spreadsheet {

WorkbookOpenError damagedWorkbook(std::string_view detailUtf8)
{
    std::string text = "工作簿文件已损坏，无法读取（";
    text += detailUtf8;
    text += "）。";
    return WorkbookOpenError(gbk::fromUtf8(text));
}

WorkbookOpenError encryptedWorkbook()
{
    return WorkbookOpenError(gbk::fromUtf8(
        "工作簿设有打开密码，无法读取。请在 Excel 中取消密码并保存后再选择。"));
}

WorkbookOpenError notAWorkbook()
{
    return WorkbookOpenError(gbk::fromUtf8("该文件不是 Excel 工作簿。"));
}

WorkbookOpenError workbookTooLarge()
{
    return WorkbookOpenError(gbk::fromUtf8("工作簿文件过大，无法读取。"));
}

WorkbookOpenError oldExcelFormat()
{
    return WorkbookOpenError(gbk::fromUtf8(
        "该工作簿是 Excel 5.0/95 格式，无法读取。请在 Excel 中另存为“Excel 97-2003 工作簿 (*.xls)”或 .xlsx 格式后再选择。"));
}

WorkbookOpenError cannotOpenFile(const std::filesystem::path &file)
{
    return WorkbookOpenError(gbk::fromUtf8("无法打开文件“") + gbk::fromPath(file) + gbk::fromUtf8("”。"));
}

} // namespace quvela::spreadsheet
