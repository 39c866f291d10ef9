#include "support/zipwriter.h"

#include <QFile>

#include <zip.h>

namespace supplink::test {

bool writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& parts,
              const QHash<QString, quint32>& unixModes)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto& [name, data] : parts) {
        const QByteArray utf8 = name.toUtf8();
        zip_int64_t index = -1;
        if (name.endsWith(QLatin1Char('/'))) {
            index = zip_dir_add(archive, utf8.constData(), ZIP_FL_ENC_UTF_8);
        } else {
            zip_source_t* source = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
            index = source ? zip_file_add(archive, utf8.constData(), source, ZIP_FL_ENC_UTF_8) : -1;
            if (index < 0)
                zip_source_free(source);
        }
        // Regular file (0100000) or folder (0040000) with the given bits, in the high half.
        const quint32 kind = name.endsWith(QLatin1Char('/')) ? 0040000u : 0100000u;
        if (index < 0 || (unixModes.contains(name) &&
                          zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                                           (kind | unixModes.value(name)) << 16) != 0)) {
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

} // namespace supplink::test
