#pragma once

#include <QString>
#include <string>
#include <string_view>

// A UTF-8 text of the core as a QString.
inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The core keeps CR as the line break of its hints; a label draws CR as a blank.
inline QString HintText(const std::string& text) {
    QString hint = Q(text);
    hint.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return hint;
}
