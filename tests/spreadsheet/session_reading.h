// Opening a workbook with the session and reading its cells as UTF-8.
#pragma once

#include "common/gbk.h"
#include "spreadsheet/spreadsheet_session.h"

#include <filesystem>
#include <memory>
#include <string>

namespace quvela::test {

inline std::unique_ptr<spreadsheet::SpreadsheetSession> openWorkbook(const std::filesystem::path &file)
{
    auto session = std::make_unique<spreadsheet::SpreadsheetSession>();
    session->connect();
    session->hide();
    session->setCaption(gbk::fromUtf8("Excel数据文件"));
    session->addNewWorkbook();
    session->open(file);
    session->bindWorkbook();
    session->bindFirstWorksheet();
    return session;
}

inline std::string cellUtf8(const spreadsheet::SpreadsheetSession &session, int row, int column)
{
    return gbk::toUtf8(session.readCellText(row, column));
}

} // namespace quvela::test
