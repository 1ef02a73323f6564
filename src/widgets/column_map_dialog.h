// "参数设置": the dialog in which a tool says which worksheet column each field of its
// column map stands in (0-based: A = 0). The XJ and ZW dialogs differ only in their
// fields, their places and the key they store the map under; a tool's dialog class
// passes those in a ColumnDialogLayout.
//
// Filling: the spin edit of field k shows piece k of the record's map less one; a piece
// that is not a number is reported (standard error box) and shows 0 with all later ones.
// "确定": the map of all spin edits, checked for fields that share a column (one message
// per clashing field, the focus on the last one reported, nothing stored); without a
// clash it is written to the settings file, then to the record, and the dialog closes.
// A map that cannot be written is reported and the dialog stays open with its values.
#pragma once

#include "common/gbk.h"

#include <QDialog>
#include <QRect>
#include <QSize>

#include <string>
#include <vector>

class QPushButton;

namespace quvela {
class IniFile;
class Prompts;
}

namespace quvela::widgets {

class SpinEdit;

// A field as a tool's dialog names it, in map order; the tool decides where it stands.
struct ColumnFieldName
{
    const char *spin;  // object name
    const char *label; // text, right-aligned against its spin edit
};

struct ColumnDialogField
{
    const char *spin;  // object name
    const char *label; // text, right-aligned against its spin edit
    int x;             // the spin edit's top-left corner
    int y;
};

struct ColumnDialogLayout
{
    QString objectName;
    QSize clientSize;
    std::vector<ColumnDialogField> fields; // in map order
    int spinWidth = 65;
    int spinHeight = 20;
    const char *okName = "btnOK";
    QRect okGeometry;
    const char *cancelName = "btnCancel";
    QRect cancelGeometry;
    std::string key; // the settings key of the map: "xjRow", "zwRow"
};

class ColumnMapDialog : public QDialog
{
    Q_OBJECT

public:
    // recordMap is the tool record's column map; it and ini must outlive the dialog.
    ColumnMapDialog(IniFile &ini, Prompts &prompts, ColumnDialogLayout layout, GbkString &recordMap,
                    QWidget *parent);

    SpinEdit *spin(int field) const { return m_spins.at(std::size_t(field - 1)); } // 1-based
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    int fieldCount() const { return int(m_spins.size()); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void okClick();

    IniFile &m_ini;
    Prompts &m_prompts;
    ColumnDialogLayout m_layout;
    GbkString &m_recordMap;
    std::vector<SpinEdit *> m_spins;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace quvela::widgets
