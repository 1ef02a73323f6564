#include "widgets/usage_text.h"

#include "common/gbk.h"
#include "widgets/program_folder.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

namespace quvela::widgets {
namespace {

// A usage text is a page of notes; anything far larger is not one.
constexpr qint64 kUsageTextLimit = 1 << 20;

} // namespace

void loadUsageText(QPlainTextEdit &box)
{
    box.clear();
    // A text removed since the last showing leaves no empty box behind.
    box.hide();
    QFile file(programFolder() + QDir::separator() + QStringLiteral("使用说明.txt"));
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.read(kUsageTextLimit);
    box.setPlainText(gbk::toQString(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
    box.show();
}

} // namespace quvela::widgets
