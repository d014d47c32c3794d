#include "widgets/qt_text.h"

#include "base/byte_text.h"

#include <QStringDecoder>

namespace keldro {

QString FromBytes(std::string_view bytes)
{
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(view);
    QStringDecoder decoder("GB18030");
    return decoder.isValid() ? QString(decoder(view)) : QString::fromLatin1(view);
}

std::string ToBytes(const QString& text)
{
    return text.toUtf8().toStdString();
}

} // namespace keldro
