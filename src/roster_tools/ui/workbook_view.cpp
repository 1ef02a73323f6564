#include "roster_tools/ui/workbook_view.h"

#include "common/errors.h"
#include "roster_tools/ui/workbook_model.h"
#include "spreadsheet/sheet_layout.h"
#include "spreadsheet/spreadsheet_session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace quvela::roster {
namespace {

// A spreadsheet program saves by writing a new file and renaming it over the old one;
// the change is read once the writing has settled.
constexpr int kReloadDelayMs = 400;
constexpr int kRowsPastCells = 1000;
constexpr int kColumnLimit = 1024;

QTableView *makeTable(QWidget *parent, WorkbookModel *model)
{
    auto *table = new QTableView(parent);
    table->setModel(model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::ContiguousSelection);
    table->setWordWrap(false);
    table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Fixed sections: the headers never measure the cells, which keeps a long roster fast.
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->horizontalHeader()->setMinimumSectionSize(0);
    table->verticalHeader()->setMinimumSectionSize(0);
    table->horizontalHeader()->setHighlightSections(false);
    table->verticalHeader()->setHighlightSections(false);
    return table;
}

} // namespace

WorkbookView::WorkbookView(QWidget *parent)
    : QWidget(parent)
{
    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);

    auto *page = new QWidget(this);
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_model = new WorkbookModel(this);
    m_frozen = makeTable(page, new WorkbookModel(this));
    m_frozen->setObjectName(QStringLiteral("frozenRows"));
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->hide();
    m_table = makeTable(page, m_model);
    m_table->setObjectName(QStringLiteral("sheet"));
    column->addWidget(m_frozen);
    column->addWidget(m_table, 1);
    m_stack->addWidget(page);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    m_stack->addWidget(m_message);

    connect(m_table->horizontalScrollBar(), &QScrollBar::valueChanged, m_frozen->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) { m_frozen->horizontalHeader()->resizeSection(section, size); });

    m_watcher = new QFileSystemWatcher(this);
    m_reloadTimer = new QTimer(this);
    m_reloadTimer->setSingleShot(true);
    m_reloadTimer->setInterval(kReloadDelayMs);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_reloadTimer, qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        // The file came back under its name after a save by renaming.
        if (!m_file.isEmpty() && !m_watcher->files().contains(m_file) && QFileInfo::exists(m_file))
            m_reloadTimer->start();
    });
    connect(m_reloadTimer, &QTimer::timeout, this, &WorkbookView::reload);
}

WorkbookView::~WorkbookView() = default;

QString WorkbookView::message() const
{
    return m_stack->currentWidget() == m_message ? m_message->text() : QString();
}

void WorkbookView::showWorkbook(const QString &file)
{
    m_file = file;
    load(false);
}

void WorkbookView::clear()
{
    m_file.clear();
    m_reloadTimer->stop();
    load(false);
}

void WorkbookView::reload()
{
    load(true);
}

void WorkbookView::showMessage(const QString &text)
{
    m_model->setSheet(nullptr, 0, 0);
    static_cast<WorkbookModel *>(m_frozen->model())->setSheet(nullptr, 0, 0);
    releaseOldCopies(QString());
    m_message->setText(text);
    m_stack->setCurrentWidget(m_message);
}

void WorkbookView::load(bool keepPosition)
{
    const int vertical = m_table->verticalScrollBar()->value();
    const int horizontal = m_table->horizontalScrollBar()->value();
    watch();
    if (m_file.isEmpty()) {
        showMessage(QString());
        m_stack->setCurrentIndex(0);
        m_frozen->hide();
        Q_EMIT reloaded();
        return;
    }

    // The view reads a private copy of the file: a workbook held open here could not be
    // saved over by the spreadsheet program on Windows, which replaces the file it saves.
    QString source = m_file;
    const QString copy = m_copies.isValid()
                             ? m_copies.filePath(QStringLiteral("shown-%1.%2").arg(++m_copyCount).arg(
                                   QFileInfo(m_file).suffix()))
                             : QString();
    if (!copy.isEmpty() && QFile::copy(m_file, copy))
        source = copy;
    auto sheet = std::make_shared<spreadsheet::SpreadsheetSession>();
    try {
        sheet->open(gbk::toPath(gbk::fromQString(source)));
    } catch (const QuvelaError &error) {
        showMessage(gbk::toQString(error.message()));
        Q_EMIT reloaded();
        return;
    } catch (const std::exception &error) {
        showMessage(QString::fromLocal8Bit(error.what()));
        Q_EMIT reloaded();
        return;
    }

    const spreadsheet::SheetLayout layout = spreadsheet::readSheetLayout(gbk::toPath(gbk::fromQString(source)));
    int rows = sheet->lastRow();
    int columns = 0;
    for (int r = 1; r <= rows; ++r)
        columns = std::max(columns, sheet->lastColumn(r));
    // Merged titles usually run past the last filled cell; ranges that reach the sheet's
    // edge (a whole column merged) stop a little past the cells.
    const int rowLimit = rows + kRowsPastCells;
    for (const spreadsheet::CellRange &merge : layout.merges) {
        rows = std::max(rows, std::min(merge.last.row, rowLimit));
        columns = std::max(columns, std::min(merge.last.column, kColumnLimit));
    }
    const int frozen = std::min(layout.frozenRows, rows);
    m_frozenRows = frozen;
    m_model->setSheet(sheet, rows, columns);
    static_cast<WorkbookModel *>(m_frozen->model())->setSheet(frozen > 0 ? sheet : nullptr, frozen, columns);
    applyLayout(layout, rows, columns);
    releaseOldCopies(source);
    m_stack->setCurrentIndex(0);
    if (keepPosition) {
        m_table->verticalScrollBar()->setValue(vertical);
        m_table->horizontalScrollBar()->setValue(horizontal);
    } else {
        m_table->scrollToTop();
        m_table->horizontalScrollBar()->setValue(0);
    }
    Q_EMIT reloaded();
}

void WorkbookView::applyLayout(const spreadsheet::SheetLayout &layout, int rows, int columns)
{
    const int frozen = m_frozenRows;
    // Hidden rows and columns outlive a reset of the model; those of the last file go.
    for (QTableView *table : {m_table, m_frozen}) {
        for (int row : m_hiddenRows)
            table->setRowHidden(row, false);
        for (int column : m_hiddenColumns)
            table->setColumnHidden(column, false);
    }
    m_hiddenRows.clear();
    m_hiddenColumns.clear();
    for (int row = 0; row < frozen; ++row)
        m_hiddenRows.push_back(row);
    for (int row : layout.hiddenRows)
        if (row <= rows)
            m_hiddenRows.push_back(row - 1);
    for (int column : layout.hiddenColumns)
        if (column <= columns)
            m_hiddenColumns.push_back(column - 1);
    m_table->clearSpans();
    m_frozen->clearSpans();
    for (const spreadsheet::CellRange &merge : layout.merges) {
        const int lastRow = std::min(merge.last.row, rows);
        const int lastColumn = std::min(merge.last.column, columns);
        const int width = lastColumn - merge.first.column + 1;
        if (width < 1 || merge.first.row > lastRow)
            continue;
        // A range across the frozen edge shows in both parts, each its own share.
        if (merge.first.row <= frozen) {
            const int height = std::min(lastRow, frozen) - merge.first.row + 1;
            if (height > 1 || width > 1)
                m_frozen->setSpan(merge.first.row - 1, merge.first.column - 1, height, width);
        }
        const int first = std::max(merge.first.row, frozen + 1);
        if (first <= lastRow && (lastRow - first + 1 > 1 || width > 1))
            m_table->setSpan(first - 1, merge.first.column - 1, lastRow - first + 1, width);
    }

    for (QTableView *table : {m_table, m_frozen}) {
        QHeaderView *across = table->horizontalHeader();
        QHeaderView *down = table->verticalHeader();
        across->setDefaultSectionSize(layout.defaultColumnWidth);
        down->setDefaultSectionSize(layout.defaultRowHeight);
        for (const auto &[column, pixels] : layout.columnWidths)
            if (column <= columns)
                across->resizeSection(column - 1, pixels);
        for (int column : layout.hiddenColumns)
            if (column <= columns)
                table->setColumnHidden(column - 1, true);
        const int tableRows = table->model()->rowCount();
        for (const auto &[row, pixels] : layout.rowHeights)
            if (row <= tableRows)
                down->resizeSection(row - 1, pixels);
        for (int row : layout.hiddenRows)
            if (row <= tableRows)
                table->setRowHidden(row - 1, true);
    }
    // The frozen rows show above, once; below, the sheet goes on after them.
    for (int row = 0; row < frozen; ++row)
        m_table->setRowHidden(row, true);
    m_table->horizontalHeader()->setVisible(frozen == 0);
    m_frozen->setVisible(frozen > 0);
    if (frozen > 0) {
        m_table->verticalHeader()->setMinimumWidth(0);
        m_frozen->verticalHeader()->setMinimumWidth(0);
        const int numbers = std::max(m_table->verticalHeader()->sizeHint().width(),
                                     m_frozen->verticalHeader()->sizeHint().width());
        m_table->verticalHeader()->setFixedWidth(numbers);
        m_frozen->verticalHeader()->setFixedWidth(numbers);
        int height = m_frozen->horizontalHeader()->sizeHint().height() + 2 * m_frozen->frameWidth();
        for (int row = 0; row < frozen; ++row)
            height += m_frozen->isRowHidden(row) ? 0 : m_frozen->rowHeight(row);
        m_frozen->setFixedHeight(height);
        m_frozen->horizontalScrollBar()->setValue(m_table->horizontalScrollBar()->value());
    } else {
        m_table->verticalHeader()->setMinimumWidth(0);
        m_table->verticalHeader()->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

void WorkbookView::releaseOldCopies(const QString &kept)
{
    if (!m_copies.isValid())
        return;
    const QDir folder(m_copies.path());
    for (const QString &name : folder.entryList(QDir::Files))
        if (folder.filePath(name) != kept)
            QFile::remove(folder.filePath(name));
}

void WorkbookView::watch()
{
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    if (m_file.isEmpty())
        return;
    if (QFileInfo::exists(m_file))
        m_watcher->addPath(m_file);
    const QString folder = QFileInfo(m_file).absolutePath();
    if (QFileInfo::exists(folder))
        m_watcher->addPath(folder);
}

} // namespace quvela::roster
