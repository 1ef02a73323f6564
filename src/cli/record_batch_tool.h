// The batch side of a tool whose window loads its settings record in one call and whose
// forms read the width text at every fill (ZW, JG): the record reset, its program folder
// set and loaded from the tool's settings file, as the window does when it is created.
#pragma once

#include "cli/roster_print_command.h"
#include "common/ini_file.h"

#include <filesystem>
#include <memory>

namespace quvela::cli {

template <class Record, class Forms>
class RecordBatchTool final : public RosterBatchTool
{
public:
    using SettingsFile = std::filesystem::path (*)(const GbkString &programDir);
    using LoadSettings = void (*)(const IniFile &ini, Record &record);

    // record is the tool's global record; the forms read it, so it outlives the run.
    RecordBatchTool(Record &record, SettingsFile settingsFile, LoadSettings loadSettings)
        : m_record(record), m_settingsFile(settingsFile), m_loadSettings(loadSettings)
    {
    }

    RosterPrintSettings load(BatchContext &context) override
    {
        m_record = Record{};
        m_record.ProgramDir = gbk::fromPath(context.programDir);
        const IniFile ini(m_settingsFile(m_record.ProgramDir));
        m_loadSettings(ini, m_record);
        return {m_record.WorkbookFile, m_record.StartRow, m_record.EndRow, m_record.OpinionWidth};
    }

    std::unique_ptr<roster::RosterForms> forms(const GbkString &widthText) override
    {
        return std::make_unique<Forms>([widthText] { return widthText; }, m_record);
    }

private:
    Record &m_record;
    SettingsFile m_settingsFile;
    LoadSettings m_loadSettings;
};

} // namespace quvela::cli
