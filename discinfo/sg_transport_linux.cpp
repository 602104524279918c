#include "discinfo/SgTransport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <utility>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tvl {

namespace {

QString ReadSysText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).trimmed();
}

// /proc/self/mounts writes blanks, tabs, newlines and backslashes in paths as octal escapes.
QString DecodeMountField(const QByteArray& field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && value < 256) {
                out.append(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

class DeviceFile
{
public:
    explicit DeviceFile(const QString& device)
        : fd(::open(QFile::encodeName(device).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC))
    {
    }
    ~DeviceFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
    DeviceFile(const DeviceFile&) = delete;
    DeviceFile& operator=(const DeviceFile&) = delete;
    int Handle() const { return fd; }

private:
    int fd;
};

} // namespace

SgTransport::SgTransport(QString sysBlockRoot, QString mountsFile)
    : sysBlockRoot(std::move(sysBlockRoot))
    , mountsFile(std::move(mountsFile))
{
}

std::vector<DriveInfo> SgTransport::ListDrives()
{
    QStringList names =
        QDir(sysBlockRoot).entryList({QStringLiteral("sr*")}, QDir::AllEntries | QDir::System);
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.mid(2).toInt() < b.mid(2).toInt(); });
    std::vector<DriveInfo> drives;
    for (const QString& name : names) {
        const QString base = sysBlockRoot + u'/' + name + QStringLiteral("/device/");
        drives.push_back({QStringLiteral("/dev/") + name, ReadSysText(base + QStringLiteral("vendor")),
                          ReadSysText(base + QStringLiteral("model"))});
    }
    return drives;
}

QString SgTransport::MountPoint(const QString& device)
{
    QFile mounts(mountsFile);
    if (!mounts.open(QIODevice::ReadOnly))
        return {};
    const QString wanted = QFileInfo(device).canonicalFilePath();
    while (!mounts.atEnd()) {
        const QList<QByteArray> fields = mounts.readLine().split(' ');
        if (fields.size() < 2)
            continue;
        const QString source = DecodeMountField(fields[0]);
        if (source == device || (!wanted.isEmpty() && QFileInfo(source).canonicalFilePath() == wanted))
            return DecodeMountField(fields[1]);
    }
    return {};
}

bool SgTransport::StopAudio(const QString& device)
{
    const DeviceFile file(device);
    return file.Handle() >= 0 && ::ioctl(file.Handle(), CDROMSTOP) == 0;
}

bool SgTransport::SendCommand(const QString& device, std::span<const uint8_t, 10> commandBlock,
                              std::span<uint8_t> dataIn, int timeoutMs)
{
    const DeviceFile file(device);
    if (file.Handle() < 0)
        return false;
    std::array<uint8_t, 10> command{};
    std::copy(commandBlock.begin(), commandBlock.end(), command.begin());
    std::array<uint8_t, 32> sense{};
    sg_io_hdr_t request{};
    request.interface_id = 'S';
    request.dxfer_direction = SG_DXFER_FROM_DEV;
    request.cmd_len = static_cast<unsigned char>(command.size());
    request.mx_sb_len = static_cast<unsigned char>(sense.size());
    request.dxfer_len = static_cast<unsigned int>(dataIn.size());
    request.dxferp = dataIn.data();
    request.cmdp = command.data();
    request.sbp = sense.data();
    request.timeout = static_cast<unsigned int>(std::max(timeoutMs, 0));
    if (::ioctl(file.Handle(), SG_IO, &request) != 0)
        return false;
    return (request.info & SG_INFO_OK_MASK) == SG_INFO_OK;
}

} // namespace tvl
