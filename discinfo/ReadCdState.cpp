#include "discinfo/ReadCdState.h"

#include <utility>

namespace tvl {

ReadCdState::Snapshot ReadCdState::Take() const
{
    const std::lock_guard guard(lock);
    return state;
}

int ReadCdState::Status() const
{
    const std::lock_guard guard(lock);
    return state.status;
}

void ReadCdState::SetStatus(int status)
{
    const std::lock_guard guard(lock);
    state.status = status;
}

void ReadCdState::SetStatusText(const QString& text)
{
    const std::lock_guard guard(lock);
    state.statusText = text;
}

void ReadCdState::SetErrorText(const QString& text)
{
    const std::lock_guard guard(lock);
    state.errorText = text;
}

void ReadCdState::SetToc(const DiscToc& toc)
{
    const std::lock_guard guard(lock);
    state.toc = toc;
}

int ReadCdState::DriveIndex() const
{
    const std::lock_guard guard(lock);
    return state.driveIndex;
}

void ReadCdState::SetDriveIndex(int index)
{
    const std::lock_guard guard(lock);
    state.driveIndex = index;
}

void ReadCdState::AppendResult(DiscRecord record)
{
    const std::lock_guard guard(lock);
    state.results.push_back(std::move(record));
}

void ReadCdState::ClearResults()
{
    const std::lock_guard guard(lock);
    state.results.clear();
}

void ReadCdState::ResetMp3()
{
    const std::lock_guard guard(lock);
    state.mp3 = Mp3HandOver();
}

void ReadCdState::SetMp3FileNames(const QStringList& names, int count)
{
    const std::lock_guard guard(lock);
    state.mp3.fileNames = names;
    state.mp3.count = count;
}

void ReadCdState::AppendMp3Row(const QString& tagName, const QString& playTime)
{
    const std::lock_guard guard(lock);
    state.mp3.tagNames.append(tagName);
    state.mp3.playTimes.append(playTime);
}

} // namespace tvl
