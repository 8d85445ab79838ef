#include "volumes/volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace corvan {
namespace {

constexpr char kArchiveName[] = "mg_data.stf";

// Letter case is ignored for ASCII letters only, as the disc's file system does.
bool sameNameIgnoringAsciiCase(const QString& name, QLatin1String wanted) {
    if (name.size() != wanted.size()) return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const char16_t lower = (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
        if (lower != wanted[i].unicode()) return false;
    }
    return true;
}

}  // namespace

QList<Volume> listVolumes() {
    QList<Volume> volumes;
    if (qEnvironmentVariableIsSet("CORVANUP_VOLUMES")) {
        const QStringList folders =
            qEnvironmentVariable("CORVANUP_VOLUMES").split(u':', Qt::SkipEmptyParts);
        for (const QString& folder : folders) volumes.append({folder, {}});
        return volumes;
    }
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid() || !storage.isReady()) continue;
        // Files mounted over files (a container's /etc/hosts, say) are no drives.
        if (!QFileInfo(storage.rootPath()).isDir()) continue;
        const bool known = std::any_of(volumes.cbegin(), volumes.cend(), [&](const Volume& v) {
            return v.folder == storage.rootPath();
        });
        if (!known) volumes.append({storage.rootPath(), storage.name()});
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume& a, const Volume& b) { return a.folder < b.folder; });
    return volumes;
}

QString volumeEntryText(const Volume& volume) {
    if (volume.label.isEmpty()) return volume.folder;
    return QStringLiteral("%1 [%2]").arg(volume.folder, volume.label);
}

bool volumeHoldsArchive(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    return std::any_of(entries.cbegin(), entries.cend(), [](const QFileInfo& entry) {
        return sameNameIgnoringAsciiCase(entry.fileName(), QLatin1String(kArchiveName));
    });
}

}  // namespace corvan
