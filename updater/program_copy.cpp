#include "updater/program_copy.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

namespace corvanup {

bool copyProgram(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) return false;

    const QFileInfo target(to);
    QTemporaryFile copy(target.absolutePath() + QStringLiteral("/.corvanup-XXXXXX"));
    if (!copy.open()) return false;
    constexpr qint64 kChunkBytes = 1 << 16;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(kChunkBytes);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError) return false;
        if (copy.write(chunk) != chunk.size()) return false;
    }
    if (source.error() != QFileDevice::NoError) return false;
    if (!copy.flush() || ::fsync(copy.handle()) != 0) return false;
    const QFileDevice::Permissions permissions = source.permissions() | QFileDevice::ReadOwner |
                                                 QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (!copy.setPermissions(permissions)) return false;
    copy.close();

    // A rename replaces the old file in one step; QFile::rename would refuse an existing target.
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(copy.fileName()).toStdString(),
                            QFile::encodeName(target.absoluteFilePath()).toStdString(), error);
    if (error) return false;
    copy.setAutoRemove(false);
    return true;
}

}  // namespace corvanup
