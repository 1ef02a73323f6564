#include "report/output_file.h"

#include "common/errors.h"

namespace quvela::report {

GbkString writeFailure(const QString &fileName, const QString &why)
{
    return gbk::fromQString(QStringLiteral("无法写入文件 %1：%2").arg(fileName, why));
}

void OutputFile::open()
{
    if (!m_file.isOpen() && !m_file.open(QIODevice::WriteOnly))
        throw QuvelaError(writeFailure(m_file.fileName(), m_file.errorString()));
}

void OutputFile::write(std::string_view bytes)
{
    open();
    if (m_file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw QuvelaError(writeFailure(m_file.fileName(), m_file.errorString()));
}

void OutputFile::commit()
{
    open();
    if (!m_file.commit())
        throw QuvelaError(writeFailure(m_file.fileName(), m_file.errorString()));
}

} // namespace quvela::report
