#include "storage/DescriptorDevice.h"

#include <cerrno>
#include <unistd.h>

namespace tvl {

DescriptorDevice::DescriptorDevice(int descriptor)
    : m_descriptor(descriptor)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 DescriptorDevice::readData(char*, qint64)
{
    return -1;
}

qint64 DescriptorDevice::writeData(const char* data, qint64 size)
{
    if (m_systemError != 0)
        return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t written = ::write(m_descriptor, data + done, static_cast<size_t>(size - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A write that makes no progress without an error would loop forever; the disk is full.
            m_systemError = written < 0 ? errno : ENOSPC;
            setErrorString(qt_error_string(m_systemError));
            return -1;
        }
        done += written;
    }
    return done;
}

} // namespace tvl
