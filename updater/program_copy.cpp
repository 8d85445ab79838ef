#include "updater/program_copy.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace corvanup {

bool copyProgram(const QString& from, const QString& to, QString& error) {
    QFile source(from);
    const QString sourceName = QFileInfo(from).absoluteFilePath();
    if (!source.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(sourceName, source.errorString());
        return false;
    }

    const QFileInfo target(to);
    const QString targetName = target.absoluteFilePath();
    auto cannotWrite = [&](const QString& reason) {
        error = QStringLiteral("cannot write %1: %2").arg(targetName, reason);
        return false;
    };
    QTemporaryFile copy(target.absolutePath() + QStringLiteral("/.corvanup-XXXXXX"));
    if (!copy.open()) return cannotWrite(copy.errorString());
    constexpr qint64 kChunkBytes = 1 << 16;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(kChunkBytes);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError) break;
        if (copy.write(chunk) != chunk.size()) return cannotWrite(copy.errorString());
    }
    if (source.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read %1: %2").arg(sourceName, source.errorString());
        return false;
    }
    if (!copy.flush()) return cannotWrite(copy.errorString());
    if (::fsync(copy.handle()) != 0)
        return cannotWrite(QString::fromLocal8Bit(std::strerror(errno)));
    const QFileDevice::Permissions permissions = source.permissions() | QFileDevice::ReadOwner |
                                                 QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (!copy.setPermissions(permissions)) return cannotWrite(copy.errorString());
    copy.close();

    // A rename replaces the old file in one step; QFile::rename would refuse an existing target.
    std::error_code renamed;
    std::filesystem::rename(QFile::encodeName(copy.fileName()).toStdString(),
                            QFile::encodeName(targetName).toStdString(), renamed);
    if (renamed) return cannotWrite(QString::fromLocal8Bit(renamed.message().c_str()));
    copy.setAutoRemove(false);
    return true;
}

}  // namespace corvanup
