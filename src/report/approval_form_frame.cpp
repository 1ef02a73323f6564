#include "report/approval_form_frame.h"

#include "common/pub_func.h"

#include <cmath>
#include <deque>
#include <mutex>
#include <span>
#include <vector>

namespace quvela::report {
namespace {

// The form was drawn on a grid of 96 pixels per inch; the millimetres quoted for it are
// those pixels rounded to 0.1 mm. Rules are snapped back onto that grid so that the
// second wage block, exactly 260 pixels below the first, has its rows where the first
// one has them (68.8 mm rounded), without the rounding of the quoted values piling up
// into gaps or overlaps between cells.
constexpr double kMmPerPixel = 25.4 / 96.0;
constexpr int kBlockBOffsetPx = 260;
constexpr int kProbationRowPx = 26;

int px(double mm) { return static_cast<int>(std::lround(mm / kMmPerPixel)); }
double mmOf(int pixels) { return pixels * kMmPerPixel; }
double snap(double mm) { return mmOf(px(mm)); }

constexpr double kLineWidth = kMmPerPixel;
constexpr double kLeft = 2.1;        // outer frame and label column
constexpr double kLabelColumn = 16.9;
constexpr double kRightLine = 158.8; // right rule; its stroke ends at 159.0
constexpr double kRightEdge = 159.0;
constexpr double kFrameBottom = 212.2;

// Rows of block A that the probation row splits: wage-group rows above it shift down by
// 260 pixels in block B, rows below it by 260 - 26.
constexpr double kProbationTop = 75.7;
constexpr double kProbationBottom = 82.6;

const GbkString &song()
{
    static const GbkString name = gbk::fromUtf8("宋体");
    return name;
}

// Captions stand where the form quotes them; only the rules are snapped to the grid.
void caption(ReportBand &band, const char *utf8, double x, double y, double sizePt = 10)
{
    ReportLabel l;
    l.text = gbk::fromUtf8(utf8);
    l.x = x;
    l.y = y;
    l.height = 4.5;
    l.font = song();
    l.sizePt = sizePt;
    l.autoWidth = true;
    band.addLabel(std::move(l));
}

void hline(ReportBand &band, double y, double x1, double x2)
{
    band.addLine({snap(x1), y, snap(x2), y, kLineWidth});
}

void vline(ReportBand &band, double x, double y1, double y2)
{
    band.addLine({snap(x), y1, snap(x), y2, kLineWidth});
}

// Vertical positions inside a wage block: block A as quoted, block B moved down and
// closed up over the missing probation row.
struct BlockPlacement
{
    bool second = false;
    double top = 20.6;
    double bottom = 89.2;

    double y(double blockAmm) const
    {
        if (!second)
            return snap(blockAmm);
        int p = px(blockAmm) + kBlockBOffsetPx;
        if (blockAmm >= kProbationBottom)
            p -= kProbationRowPx;
        return mmOf(p);
    }
    // Captions of block B stand 68.8 mm below their block A places, those under the
    // missing probation row 6.9 mm less.
    double captionY(double blockAmm) const
    {
        if (!second)
            return blockAmm;
        return blockAmm + (blockAmm >= kProbationBottom ? 68.8 - 6.9 : 68.8);
    }
    bool keeps(double blockAmm) const
    {
        return !second || blockAmm < kProbationTop || blockAmm >= kProbationBottom;
    }
};

struct GroupCaption
{
    const char *text;
    double x;
    double y;
    double sizePt = 10;
};

// The captions of the three column groups, block A positions.
const std::vector<GroupCaption> &groupCaptions()
{
    static const std::vector<GroupCaption> list = {
        // civil servants
        {"领导职务工资", 20.9, 36.0}, {"非领导职务工资", 19.1, 43.1},
        {"级别工资", 17.5, 52.9, 9}, {"级别档次", 31.8, 50.0, 9}, {"金  额", 32.5, 56.4},
        {"试用期工资", 22.2, 77.5}, {"合      计", 22.2, 84.1},
        // post and salary grade
        {"岗位工资", 62.2, 39.4}, {"岗  位", 78.8, 36.0}, {"金  额", 78.6, 43.1},
        {"薪级工资", 62.4, 53.2}, {"薪  级", 78.8, 49.7}, {"金  额", 78.8, 56.9},
        {"10%工资(或补贴)", 63.5, 63.8, 9}, {"浮动工资", 69.8, 70.1, 9},
        {"试用、见习初期工资", 62.2, 77.5, 9}, {"合    计", 69.1, 84.1},
        // workers
        {"技术等级", 109.8, 36.0}, {"工    资", 109.5, 43.7}, {"等  级", 129.4, 36.0},
        {"金  额", 129.4, 43.7}, {"岗位工资", 109.5, 52.7}, {"档  次", 129.4, 49.7},
        {"金  额", 129.4, 56.6}, {"试用、熟练期工资", 110.9, 77.5, 9},
        {"合    计", 117.5, 84.1},
    };
    return list;
}

// Ruled lines of a wage block below its own top and above its bottom rule (those two are
// row separators across the whole form), with the three column groups.
void wageBlockLines(ReportBand &band, const BlockPlacement &b, double workerX)
{
    const double top = snap(b.top);
    const double bottom = snap(b.bottom);
    // first two rows: unit and post, then the group headings
    vline(band, 61.4, top, bottom);
    vline(band, 108.5, top, bottom);
    vline(band, 126.5, top, b.y(27.5));
    hline(band, b.y(27.5), kLabelColumn, kRightEdge);
    hline(band, b.y(34.4), kLabelColumn, kRightEdge);
    // caption / value splits of the groups
    const double groups = b.y(34.4);
    vline(band, 45.5, groups, bottom);
    vline(band, 91.5, groups, bottom);
    vline(band, workerX, groups, bottom);
    vline(band, 30.7, b.y(48.2), b.y(61.9));
    vline(band, 77.3, groups, b.y(61.9));
    vline(band, 126.5, groups, b.y(61.9));
    // rows where a spanning caption cell stays open on its left
    for (double row : {41.3, 55.0}) {
        const double first = row == 41.3 ? kLabelColumn : 30.7;
        hline(band, b.y(row), first, 61.4);
        hline(band, b.y(row), 77.3, 108.5);
        hline(band, b.y(row), 126.5, kRightEdge);
    }
    for (double row : {48.2, 61.9, 68.8, 75.7, 82.6}) {
        if (row == kProbationBottom && b.second)
            continue; // the probation row is gone; its top rule serves the total row
        hline(band, b.y(row), kLabelColumn, kRightEdge);
    }
    for (const GroupCaption &c : groupCaptions()) {
        if (b.keeps(c.y))
            caption(band, c.text, c.x, b.captionY(c.y), c.sizePt);
    }
}

} // namespace

ReportLabel dataLabel(std::string name, double x, double y, double width, Align align)
{
    ReportLabel l;
    l.name = std::move(name);
    l.x = x;
    l.y = y;
    l.width = width;
    l.height = 3.7;
    l.font = song();
    l.align = align;
    l.fitToCell = true;
    return l;
}

void fillPersonCells(ReportBand &band, const PersonCells &person)
{
    band.label("l_xm").text = person.name;
    band.label("l_xb").text = person.sex;
    band.label("l_whcd").text = person.education;
    band.label("l_csny").text = FormatYearMonth(person.birth);
    band.label("l_gzny").text = FormatYearMonth(person.workStart);
    band.label("l_tsny").text = FormatYearMonth(person.serviceStart);
}

void fillDateAndIssuer(ReportBand &band, const QDate &printDate, const GbkString &issuer)
{
    band.label("Lb_year").text = std::to_string(printDate.year()) + gbk::fromUtf8(" 年 ")
                                 + std::to_string(printDate.month()) + gbk::fromUtf8(" 月 ")
                                 + std::to_string(printDate.day()) + gbk::fromUtf8(" 日");
    band.label("lb_area").text = issuer;
}

namespace {

void buildFrame(ReportBand &title, ReportBand &band, const ApprovalFormVariant &v)
{
    ReportLabel lb1;
    lb1.name = "Lb1";
    lb1.text = gbk::fromUtf8("国家机关事业单位工作人员工资变动审批表");
    lb1.x = 2.1;
    lb1.y = 4.2;
    lb1.width = 156.9;
    lb1.height = 6.1;
    lb1.font = "Arial";
    lb1.sizePt = 16;
    lb1.bold = true;
    lb1.underline = true;
    lb1.align = Align::Center;
    title.addLabel(std::move(lb1));

    const double frameTop = 0;
    const double frameBottom = snap(kFrameBottom);
    // outer frame and the label column
    hline(band, frameTop, kLeft, kRightEdge);
    hline(band, frameBottom, kLeft, kRightEdge);
    vline(band, kLeft, frameTop, frameBottom);
    vline(band, kRightLine, frameTop, frameBottom);
    vline(band, kLabelColumn, frameTop, frameBottom);
    // rules across the whole form
    for (double y : {6.9, 13.8, 20.6, 89.2, 151.3, 182.0})
        hline(band, snap(y), kLeft, kRightEdge);

    // rows 1 to 3
    const double r1 = 0, r2 = snap(6.9), r3 = snap(13.8), r4 = snap(20.6);
    for (double x : {38.1, 61.4, 76.7, 91.5, 113.2})
        vline(band, x, r1, r2);
    vline(band, v.workerValueX, r1, r2);
    for (double x : {38.1, 61.4, 91.5, 126.5})
        vline(band, x, r2, r3);
    for (double x : {61.4, 91.5, 108.5, 126.5})
        vline(band, x, r3, r4);
    caption(band, "姓  名", 4.8, 1.6);
    caption(band, "性    别", 43.4, 1.6);
    caption(band, "学  历", 78.8, 1.6);
    caption(band, "不算工龄学习年限", v.workerValueX < 143.9 ? 113.8 : 114.6, 1.6);
    caption(band, "年", 152.9, 1.1);
    caption(band, "出生年月", 2.9, 8.5);
    caption(band, "参加工作时间", 39.7, 8.7);
    caption(band, "连续工龄推算时间", 97.4, 8.7);
    caption(band, "变动原因", 2.9, 15.9);
    caption(band, "考核年限起始时间", 62.4, 15.3);
    caption(band, "职务(岗位)", 109.5, 15.6, 9);

    // block A: old post and wages
    const BlockPlacement blockA{false, 20.6, 89.2};
    wageBlockLines(band, blockA, v.workerValueX);
    caption(band, "原职务", 4.2, 37.6);
    caption(band, "(岗位)", 4.2, 48.9);
    caption(band, "及工资", 4.2, 60.3);
    caption(band, "情  况", 3.7, 72.0);
    caption(band, "原单位及职务（岗位）", 22.8, 22.2);
    caption(band, "任职时间", 110.9, 22.2);
    caption(band, "公务员工资（元）", 24.3, 29.1);
    caption(band, "岗位、薪级工资（元）", 68.0, 29.1);
    caption(band, "机关工人工资（元）", 118.0, 29.1);

    // block B: present post and wages, block A without its probation row
    const BlockPlacement blockB{true, 89.2, 151.3};
    wageBlockLines(band, blockB, v.workerValueX);
    caption(band, "现任职务", 2.6, 99.5);
    caption(band, "（岗位）", 2.6, 112.2);
    caption(band, "及工资", 4.5, 124.9);
    caption(band, "情  况", 4.5, 137.6);
    caption(band, "现单位及职务（岗位）", 22.5, 90.8);
    caption(band, "任职时间", 110.9, 90.8);
    caption(band, "公务员工资（元）", 24.9, 98.2);
    caption(band, "岗位、薪级工资（元）", 67.7, 97.9);
    caption(band, "机关工人工资（元）", 116.4, 98.2);

    if (v.gradeSuffix) {
        caption(band, "级", 104.5, 36.0);
        caption(band, "级", 104.2, 105.6);
    }

    // opinion rows
    caption(band, "呈报单", 5.3, 154.5);
    caption(band, "位或主", 5.3, 160.9);
    caption(band, "管部门", 5.3, 167.2);
    caption(band, "意  见", 5.3, 173.6);
    caption(band, "审  批", 5.3, 187.6);
    caption(band, "意  见", 5.3, 204.8);
    ReportLabel agree;
    agree.text = gbk::fromUtf8("同 意");
    agree.x = 25.1;
    agree.y = 188.6;
    agree.height = 11.3;
    agree.font = gbk::fromUtf8("黑体");
    agree.sizePt = 32;
    agree.bold = true;
    agree.autoWidth = true;
    band.addLabel(std::move(agree));
    caption(band, "年    月    日", 124.4, 206.6);

    // labels every form fills
    struct Line
    {
        const char *name;
        double x;
        double y;
    };
    static constexpr Line three[] = {{"y1", 19.1, 154.5}, {"y2", 19.1, 161.1}, {"y3", 19.1, 167.7}};
    static constexpr Line four[] = {
        {"y1", 26.5, 153.5}, {"y2", 19.1, 159.3}, {"y3", 19.1, 165.1}, {"y4", 19.1, 170.9}};
    const bool fourLines = v.wordingLines >= 4;
    for (const Line &line : fourLines ? std::span<const Line>(four) : std::span<const Line>(three)) {
        ReportLabel l = dataLabel(line.name, line.x, line.y, 0, Align::Left);
        l.autoWidth = true;
        band.addLabel(std::move(l));
    }
    band.addLabel(dataLabel("Lb_year", 114.3, fourLines ? 177.0 : 175.9, 42.6, Align::Center));
    // 9 pt and 3.4 mm high: the form's last text ends 250 mm below the paper's top edge.
    ReportLabel area = dataLabel("lb_area", 81.5, 215.1, 0, Align::Left);
    area.sizePt = 9;
    area.height = 3.4;
    area.autoWidth = true;
    band.addLabel(std::move(area));
}

struct Frame
{
    ApprovalFormVariant variant;
    ReportBand title{"TitleBand1", 0, 0};
    ReportBand form{"ColumnHeaderBand1", 0, 0};
};

bool sameVariant(const ApprovalFormVariant &a, const ApprovalFormVariant &b)
{
    return a.workerValueX == b.workerValueX && a.gradeSuffix == b.gradeSuffix && a.wordingLines == b.wordingLines;
}

} // namespace

void buildApprovalForm(FormReport &report, const ApprovalFormVariant &v)
{
    // A form is made for every record; the frame of each variant is built once and copied.
    static std::mutex mutex;
    static std::deque<Frame> frames;
    const Frame *frame = nullptr;
    {
        const std::lock_guard lock(mutex);
        for (const Frame &f : frames)
            if (sameVariant(f.variant, v))
                frame = &f;
        if (!frame) {
            Frame &f = frames.emplace_back();
            f.variant = v;
            buildFrame(f.title, f.form, v);
            frame = &f;
        }
    }
    for (const ReportLabel &l : frame->title.labels())
        report.titleBand().addLabel(l);
    for (const RuledLine &l : frame->title.lines())
        report.titleBand().addLine(l);
    for (const ReportLabel &l : frame->form.labels())
        report.formBand().addLabel(l);
    for (const RuledLine &l : frame->form.lines())
        report.formBand().addLine(l);
}

} // namespace quvela::report
