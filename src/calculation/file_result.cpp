#include "calculation/file_result.h"

#include "localization/translate.h"

namespace calculation {

FileResult fileFailure(const QString& message, const QString& file, int line)
{
    return {false, message, QString(), file, line};
}

QString FileResult::message() const
{
    if (line <= 0)
        return error;
    return localization::translate("%1, line %2: %3").arg(file, QString::number(line), error);
}

} // namespace calculation
