#include "gui/controls/TextCodec.h"

#include <QFile>

#include "common/Cp1252.h"

namespace tarnwick {

QString toQ(const std::string& cp1252) {
    QString out;
    out.reserve(static_cast<qsizetype>(cp1252.size()));
    for (unsigned char c : cp1252) {
        out.append(QChar(static_cast<char16_t>(cp1252ToCodePoint(c))));
    }
    return out;
}

std::string fromQ(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        const int byte = ch.isSurrogate() ? -1 : codePointToCp1252(ch.unicode());
        out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    }
    // A surrogate pair is one character: keep one '?' for it.
    std::string squeezed;
    squeezed.reserve(out.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        squeezed.push_back(out[static_cast<size_t>(i)]);
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        }
    }
    return squeezed;
}

QString pathToQ(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::string pathFromQ(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace tarnwick
