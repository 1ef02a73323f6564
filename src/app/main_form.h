// The launcher: a small rounded borderless window offering the four tools.
#pragma once

#include "common/gbk.h"

#include <QWidget>

#include <functional>

class QLabel;

namespace quvela {
class Prompts;
}

namespace quvela::widgets {
class GradientButton;
}

namespace quvela::app {

class TMainForm final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 493;
    static constexpr int kClientHeight = 377;

    // Writes the desktop shortcut: target, arguments, link file, description.
    using ShortcutWriter = std::function<void(const GbkString &, const GbkString &, const GbkString &,
                                              const GbkString &)>;

    // prompts serves the launcher and every tool window it opens; it must outlive them.
    // The shortcut goes through writeShortcut (CreateShellLink when not given).
    explicit TMainForm(Prompts &prompts, ShortcutWriter writeShortcut = {});

    widgets::GradientButton *btXJGZ() const { return m_btXJGZ; }
    widgets::GradientButton *btGWGZ() const { return m_btGWGZ; }
    widgets::GradientButton *btJBGZ() const { return m_btJBGZ; }
    widgets::GradientButton *btZWGZ() const { return m_btZWGZ; }
    widgets::GradientButton *XPButton1() const { return m_XPButton1; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void btXJGZClick();
    void btGWGZClick();
    void btJBGZClick();
    void btZWGZClick();
    void writeShortcut(const ShortcutWriter &writer);

    Prompts &m_prompts;
    QLabel *m_Lb_bt;
    QLabel *m_Label1;
    widgets::GradientButton *m_btXJGZ;
    widgets::GradientButton *m_btGWGZ;
    widgets::GradientButton *m_btJBGZ;
    widgets::GradientButton *m_btZWGZ;
    widgets::GradientButton *m_XPButton1;
};

} // namespace quvela::app
