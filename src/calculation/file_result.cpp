#include "calculation/file_result.h"

#include "localization/translate.h"

namespace calculation {

FileResult fileFailure(const QString& message, const QString& file, int line)
{
    return {false, message, QString(), file, line, 0, 0};
}

QString FileResult::message() const
{
    if (line <= 0)
        return error;
    return localization::translate("%1, line %2: %3").arg(file, QString::number(line), error);
}

QString writeFailureReason(const files::WriteStatus& status)
{
    using files::WriteFailure;
    using localization::translate;
    switch (status.failure) {
    case WriteFailure::None:
        break;
    case WriteFailure::DiskFull:
        return translate("the disk is full");
    case WriteFailure::TooLarge:
        return translate("the file is larger than this system lets a file grow");
    case WriteFailure::NoPermission:
        return translate("there is no permission to write there");
    case WriteFailure::ReadOnly:
        return translate("the disk can only be read");
    case WriteFailure::NoFolder:
        return translate("its folder does not exist");
    case WriteFailure::IsFolder:
        return translate("it is a folder");
    case WriteFailure::NameTooLong:
        return translate("its name is too long");
    case WriteFailure::ReaderGone:
        return translate("the program that read it has ended");
    case WriteFailure::DiskError:
        return translate("the disk reported an error");
    case WriteFailure::Other:
        break;
    }
    return translate("the system refused to write it (error %1)").arg(status.systemError);
}

FileResult writeFailure(const QString& path, const files::WriteStatus& status)
{
    return fileFailure(localization::translate("Cannot save file %1: %2").arg(path, writeFailureReason(status)), path);
}

FileResult writeFileWhole(const QString& path, QByteArrayView bytes)
{
    const files::WriteStatus written = files::writeWholeFile(path, bytes);
    return written.ok() ? FileResult{} : writeFailure(path, written);
}

} // namespace calculation
