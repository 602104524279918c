#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace tvl {

// The body of an HTTP answer: the text after the first blank line of the header, or the whole text
// when there is no header.
QString AnswerBody(const QString& answer);

// The protocol status code from the first three characters of a body; -1 when there are not three
// digits.
int ProtocolStatus(const QString& body);

// Like atoi: optional leading blanks and sign, then decimal digits up to the first other character;
// saturates instead of overflowing. 0 when there are no digits.
int LeadingInt(QStringView text);

// Hexadecimal digits after optional leading blanks, up to the first other character (at most 8 count).
// Nothing when there is no digit.
std::optional<uint32_t> LeadingHex(QStringView text);

// The lines of a body, split at line feeds, a carriage return before a line feed removed.
QStringList SplitAnswerLines(const QString& body);

} // namespace tvl
