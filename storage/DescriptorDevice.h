#pragma once

#include <QIODevice>

namespace tvl {

// A write-only device over an open file descriptor, without a buffer of its own: every write reaches
// write(2) at once, short writes are continued and an interrupted call is repeated. The first failure is
// kept (SystemError()) and every later write fails too, so a writer that ignores a return value still
// cannot make a damaged file look complete. Does not close the descriptor.
class DescriptorDevice final : public QIODevice
{
public:
    explicit DescriptorDevice(int descriptor);

    // The errno of the first failed write; 0 while all writes succeeded.
    int SystemError() const { return m_systemError; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    int m_descriptor;
    int m_systemError = 0;
};

} // namespace tvl
