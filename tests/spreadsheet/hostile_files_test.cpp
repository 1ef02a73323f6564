// The corpus of hostile and broken files made by hostile/make_hostile.py: every fail_*
// file is refused with WorkbookOpenError and a message naming why, every opens_* file opens;
// nothing crashes, and memory stays bounded (the suite also runs under AddressSanitizer).

#include "session_reading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/resource.h>

namespace quvela::test {
namespace {

const std::filesystem::path kCorpus = std::filesystem::path(QUVELA_SOURCE_DIR) / "tests/spreadsheet/hostile";

std::vector<std::string> corpus(const std::string &prefix)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(kCorpus)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Generous for the instrumented build; an unbounded reader goes far past it.
constexpr long kPeakMegabytes = 900;

// Each refused file with the part of its message that names the reason it was made for,
// so that a file refused for some earlier, unintended reason shows.
struct Refusal
{
    const char *file;
    const char *reason;
};

TEST(HostileFiles, RefusedWithAMessage)
{
    const Refusal refusals[] = {
        {"fail_biff_bof_biff5.xls", "Excel 5.0/95 格式"},
        {"fail_biff_boundsheet_offset_at_chart.xls", "工作表的位置无效"},
        {"fail_biff_boundsheet_offset_into_globals.xls", "工作表的位置无效"},
        {"fail_biff_boundsheet_offset_past_stream.xls", "工作表的位置超出文件范围"},
        {"fail_biff_continue_without_sst.xls", "单元格引用了不存在的字符串"},
        {"fail_biff_filepass.xls", "工作簿设有打开密码"},
        {"fail_biff_no_bof.xls", "缺少工作簿开头记录"},
        {"fail_biff_only_chart_sheet.xls", "工作簿中没有工作表"},
        {"fail_biff_record_past_stream.xls", "记录超出文件末尾"},
        {"fail_biff_sst_count_claims_without_strings.xls", "字符串超出记录末尾"},
        {"fail_biff_sst_string_past_record.xls", "字符串超出记录末尾"},
        {"fail_binary_noise.xlsx", "这不是 Excel 工作簿文件"},
        {"fail_bomb_bzip2_2gib.xlsx", "工作簿解压后过大"},
        {"fail_bomb_bzip2_elements.xlsx", "工作簿解压后过大"},
        {"fail_bomb_long_value.xlsx", "XML token too long"},
        {"fail_bomb_shared_strings.xlsx", "工作簿解压后过大"},
        {"fail_cfb_difat_loop.xls", "扇区分配表索引不完整"},
        {"fail_cfb_directory_loop.xls", "扇区链首尾相接"},
        {"fail_cfb_directory_sibling_loop.xls", "目录中有循环链接"},
        {"fail_cfb_encrypted_package.xlsx", "工作簿设有打开密码（已加密）"},
        {"fail_cfb_fat_count_huge.xls", "扇区分配表的大小无效"},
        {"fail_cfb_no_workbook_stream.xls", "该文件不是 Excel 工作簿"},
        {"fail_cfb_sector_loop.xls", "扇区链首尾相接"},
        {"fail_cfb_sector_self_loop.xls", "扇区链首尾相接"},
        {"fail_cfb_sector_shift.xls", "扇区大小无效"},
        {"fail_cfb_stream_size_huge.xls", "流的长度超过其扇区链"},
        {"fail_cfb_stream_start_beyond_file.xls", "扇区链中有无效的扇区号"},
        {"fail_cfb_truncated_header.xls", "文件头不完整"},
        {"fail_cfb_truncated_stream.xls", "流的长度超过其扇区链"},
        {"fail_empty.xlsx", "工作簿文件是空的"},
        {"fail_html_named.xls", "这是网页或 XML 文件"},
        {"fail_missing_package_rels_and_workbook.xlsx", "找不到工作簿部件"},
        {"fail_missing_sheet_part.xlsx", "找不到工作表"},
        {"fail_missing_workbook.xlsx", "找不到工作簿部件"},
        {"fail_no_sheets.xlsx", "找不到工作表"},
        {"fail_ref_cell_row_past_last.xlsx", "单元格引用无效"},
        {"fail_ref_column_past_xfd.xlsx", "单元格引用无效"},
        {"fail_ref_columns_past_xfd_without_r.xlsx", "列号超出范围"},
        {"fail_ref_reference_garbage.xlsx", "单元格引用无效"},
        {"fail_ref_row_attribute_huge.xlsx", "行号无效"},
        {"fail_ref_row_eleven_digits.xlsx", "单元格引用无效"},
        {"fail_ref_row_negative.xlsx", "行号超出范围"},
        {"fail_ref_row_past_last.xlsx", "行号超出范围"},
        {"fail_ref_row_zero.xlsx", "行号超出范围"},
        {"fail_ref_rows_past_last_without_r.xlsx", "行号超出范围"},
        {"fail_sheet_relationship_missing.xlsx", "找不到工作表"},
        {"fail_text_renamed.xlsx", "这不是 Excel 工作簿文件"},
        {"fail_truncated_zip.xlsx", "zip 结构无效"},
        {"fail_workbook_outside_package.xlsx", "找不到工作簿部件"},
        {"fail_xml_broken_rels.xlsx", "关系部件 XML 无效"},
        {"fail_xml_broken_workbook.xlsx", "工作簿部件 XML 无效"},
        {"fail_xml_deep_nesting.xlsx", "XML nested too deeply"},
        {"fail_xml_entity_expansion.xlsx", "DOCTYPE"},
        {"fail_xml_external_entity.xlsx", "DOCTYPE"},
        {"fail_xml_garbage_sheet.xlsx", "工作表 XML 无效"},
        {"fail_xml_invalid_utf8_text.xlsx", "文本编码无效"},
        {"fail_xml_mismatched_tags.xlsx", "mismatched end tag"},
        {"fail_xml_unclosed.xlsx", "工作表 XML 无效：XML document ends early"},
        {"fail_xml_unknown_entity.xlsx", "unknown entity"},
        {"fail_xml_utf16.xlsx", "XML not in UTF-8"},
        {"fail_zip_crc_wrong.xlsx", "解压失败"},
        {"fail_zip_duplicate_names.xlsx", "zip 结构无效"},
        {"fail_zip_empty_archive.xlsx", "找不到工作簿部件"},
        {"fail_zip_no_central_directory.xlsx", "zip 结构无效"},
        {"fail_zip_parent_folder_name.xlsx", "部件名称无效"},
        {"fail_zip_unknown_method.xlsx", "无法解压部件"},
    };
    std::vector<std::string> listed;
    for (const Refusal &r : refusals)
        listed.push_back(r.file);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(corpus("fail_"), listed) << "every file of the corpus needs its row; run make_hostile.py";
    for (const Refusal &r : refusals) {
        try {
            openWorkbook(kCorpus / r.file);
            ADD_FAILURE() << r.file << " opened";
        } catch (const spreadsheet::WorkbookOpenError &e) {
            const std::string message = gbk::toUtf8(e.message());
            EXPECT_NE(message.find(r.reason), std::string::npos) << r.file << ": " << message;
        } catch (const std::exception &e) {
            ADD_FAILURE() << r.file << ": not a WorkbookOpenError: " << e.what();
        }
        EXPECT_LT(peakMegabytes(), kPeakMegabytes) << "after " << r.file;
    }
}

TEST(HostileFiles, OddButSoundFilesOpen)
{
    const std::vector<std::string> names = corpus("opens_");
    ASSERT_GE(names.size(), 6u) << "run make_hostile.py";
    for (const std::string &name : names) {
        try {
            const auto session = openWorkbook(kCorpus / name);
            EXPECT_EQ(cellUtf8(*session, 1, 1), "ok") << name;
            EXPECT_EQ(cellUtf8(*session, 1048576, 16384), "") << name;
        } catch (const std::exception &e) {
            ADD_FAILURE() << name << ": " << e.what();
        }
        EXPECT_LT(peakMegabytes(), kPeakMegabytes) << "after " << name;
    }
}

} // namespace
} // namespace quvela::test
