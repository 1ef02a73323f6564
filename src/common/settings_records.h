// The settings records of the four tools, one global instance each, filled when a
// tool window is created and read by that tool's operations and forms.
#pragma once

#include "common/gbk.h"

#include <QDateTime>

#include <cstdint>

namespace quvela {

// XJ tool (xjgz.ini).
struct TXtcs
{
    GbkString FileNo;        // File: circular number quoted on the forms
    int32_t Year = 0;        // Year: adjustment year
    int32_t Month = 0;       // Month: months of back pay
    QDateTime PrintDate;     // Date: date printed on the forms
    int32_t StartRow = 0;    // Start
    int32_t EndRow = 0;      // End
    GbkString ProgramDir;    // folder of the program file, no trailing separator; not stored
    GbkString GridWidth;     // GridWidth: three digits per grid column
    GbkString Issuer;        // Area: issuing office printed on the forms
    GbkString GradeTable1;   // salary-grade amounts of staff categories 1 and 2; not stored
    GbkString GradeTable2;   // salary-grade amounts of staff categories 3 and 4; not stored
    GbkString ColumnMap;     // xjRow: two digits per field, 1-based worksheet column
};

// ZW tool (zwgz.ini).
struct TZwcs
{
    GbkString FileNo;        // File
    QDateTime PrintDate;     // Date
    int32_t OpinionWidth = 0; // yjkd: bytes per line of the opinion wording
    int32_t StartRow = 0;    // Start
    int32_t EndRow = 0;      // End
    GbkString ProgramDir;
    GbkString Issuer;        // Area
    GbkString WorkbookFile;  // excelFileName
    GbkString ColumnMap;     // zwRow
};

// JB tool (gwyjbgz.ini); holds the keys of the current mode only.
struct TJbcs
{
    int32_t Mode = 0;        // Type: 0 normal step, 1 rolling promotion
    GbkString FileNo;        // File0 / File1
    QDateTime PrintDate;     // Date0 / Date1
    int32_t OpinionWidth = 0; // yjkd0 / yjkd1
    int32_t StartRow = 0;    // Start0 / Start1
    int32_t EndRow = 0;      // End0 / End1
    GbkString ProgramDir;
    GbkString Issuer;        // Area, shared by both modes
    GbkString WorkbookFile;  // excelFileName0 / excelFileName1
    GbkString ColumnMap;     // gwjbRow, shared by both modes
};

// JG tool (gwyzwgz.ini).
struct TJgcs
{
    GbkString FileNo;        // File
    QDateTime PrintDate;     // Date
    int32_t OpinionWidth = 0; // yjkd
    int32_t StartRow = 0;    // Start
    int32_t EndRow = 0;      // End
    GbkString ProgramDir;
    GbkString Issuer;        // Area
    GbkString WorkbookFile;  // excelFileName
};

extern TXtcs xjcs;
extern TZwcs zwcs;
extern TJbcs jbcs;
extern TJgcs jgcs;

} // namespace quvela
