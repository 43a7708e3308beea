// The line splitter against the splitting rule written out the slow, obvious way: same fields, same order.

#include "lists/split_fields.h"

#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

// Cut at the first occurrence of the separator of highest priority, trim, and start again on the rest.
QStringList splitByRule(const QString& line)
{
    QStringList fields;
    if (line.isEmpty() || line == u"0")
        return fields;
    QString rest = lists::trimBlanks(line);
    for (;;) {
        qsizetype at = -1;
        for (char16_t separator : {u'\t', u' ', u';', u',', u':'}) {
            at = rest.indexOf(QChar(separator));
            if (at >= 0)
                break;
        }
        if (at < 0)
            break;
        fields.append(lists::trimBlanks(rest.left(at)));
        rest = lists::trimBlanks(rest.mid(at + 1));
    }
    if (!rest.isEmpty())
        fields.append(rest);
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList walked;
    lists::LineWalker walker(text);
    for (QStringView line; walker.next(line);) {
        walked.append(line.toString());
        if (lists::SplitFields(line) != splitByRule(walked.back()))
            std::abort();
    }
    if (walked != lists::splitLines(text))
        std::abort();
    return 0;
}
