#pragma once
// Unpacking a zip archive into a folder so that nothing in it can write
// outside that folder: the update window unpacks downloaded updates into the
// program folder with it, the welcome step the content packages into its
// working folder.
//
//     const ZipExtraction result = extractZipArchive(archive, folder, &run);
//     if (!result.ok())
//         status(result.error);          // Dutch text, one line per problem
//
// An entry is refused when its name is absolute (a leading "/" or "\", a drive
// such as "C:"), has a ".." part, or ends up, once symbolic links already in
// the folder are followed, outside the folder; every other entry is
// extracted. "\" counts as a separator in entry names, as archives made on
// Windows use it. Each file is written into a new file beside its place,
// which takes the place of an existing file only once every byte is written:
// an older, longer file leaves nothing behind and a failed entry leaves the
// old file as it was. Permission bits stored by Unix zip tools are restored
// (without set-user and set-group bits), so an unpacked program can run.
//
// pathInsideFolder applies the same rule to one relative path, for files the
// program itself places or starts in a folder by a name it was sent.

#include <QString>
#include <QStringList>
#include <optional>

namespace supplink {

class RunContext;

struct ZipExtraction
{
    QStringList written; // full paths of the files written, in archive order
    QStringList refused; // names of the entries refused because they leave the folder
    QString error;       // what went wrong, one line per problem; empty when every entry was extracted
    bool ok() const { return error.isEmpty(); }
};

// Extracts every entry of the archive into the folder (created when missing). With a run context the
// loop yields between entries and stops when the run is cancelled.
ZipExtraction extractZipArchive(const QString& archivePath, const QString& targetFolder,
                                RunContext* run = nullptr);

// The full path of the relative name inside the folder; no value when the name is empty or absolute,
// has a ".." part, or reaches outside the folder through a symbolic link that exists.
std::optional<QString> pathInsideFolder(const QString& folder, const QString& relativeName);

} // namespace supplink
