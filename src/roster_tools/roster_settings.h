// The settings the workbook-driven tools (ZW, JB, JG) keep alike: circular number, issuing
// office, print date, row range, wording width and the roster workbook, each under a key
// of the tool's own file (the JB tool's keys carry its mode's digit).
//
// A tool names its keys and defaults and reads them into its record (TZwcs, TJbcs, TJgcs:
// the same field names) with readRosterSettings; its window shows the record with the
// boxes of RosterToolWindow and saves RosterBoxTexts in its own key order.
#pragma once

#include "common/gbk.h"
#include "common/ini_file.h"

#include <QDateTime>

#include <cstdint>
#include <string>

namespace quvela::roster {

struct RosterKeys
{
    std::string file = "File";
    std::string area = "Area";
    std::string date = "Date";
    std::string start = "Start";
    std::string end = "End";
    std::string width = "yjkd";
    std::string workbook = "excelFileName";
};

// What a fresh installation shows; a tool replaces what differs for it.
struct RosterDefaults
{
    GbkString fileNo = gbk::fromUtf8("zar(2007)71号");
    GbkString issuer = gbk::fromUtf8("vodeve工资处制");
    int32_t opinionWidth = 78;
    int32_t startRow = 7;
    int32_t endRow = 7;
};

// The texts of the window's boxes as typed, and the picker's date.
struct RosterBoxTexts
{
    GbkString file, area, start, end, width;
    QDateTime printDate;
};

// Reads the keys into the record's FileNo, Issuer, PrintDate (default: now), StartRow,
// EndRow, WorkbookFile (default: empty) and OpinionWidth. Other fields are left alone.
template <class Record>
void readRosterSettings(const IniFile &ini, const RosterKeys &keys, const RosterDefaults &defaults, Record &rec)
{
    rec.FileNo = ini.readString(kSettingsSection, keys.file, defaults.fileNo);
    rec.Issuer = ini.readString(kSettingsSection, keys.area, defaults.issuer);
    rec.PrintDate = ini.readDateTime(kSettingsSection, keys.date, QDateTime::currentDateTime());
    rec.StartRow = ini.readInteger(kSettingsSection, keys.start, defaults.startRow);
    rec.EndRow = ini.readInteger(kSettingsSection, keys.end, defaults.endRow);
    rec.WorkbookFile = ini.readString(kSettingsSection, keys.workbook, {});
    rec.OpinionWidth = ini.readInteger(kSettingsSection, keys.width, defaults.opinionWidth);
}

// "退出": the boxes as typed under keys, the circular first and the issuer last (the
// order in which the JB and JG tools write a new file). Throws QuvelaError when the file
// cannot be written.
void writeRosterBoxes(IniFile &ini, const RosterKeys &keys, const RosterBoxTexts &boxes);

// StoreWorkbookFile: the name reaches the settings file at once, then the record. Throws
// QuvelaError when the file cannot be written; the record keeps its name then.
void storeWorkbookFile(IniFile &ini, const std::string &key, const GbkString &name, GbkString &recordFile);

} // namespace quvela::roster
