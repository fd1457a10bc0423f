// The engine's texts are UTF-8 bytes; the controls take and give QStrings.
#pragma once

#include <QString>

#include <string>

namespace velloran {

inline QString Text(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string Bytes(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return {utf8.constData(), static_cast<size_t>(utf8.size())};
}

}  // namespace velloran
