#include "discinfo/Mp3TagReader.h"

#include "discinfo/Mp3Names.h"

#include <QFile>

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

namespace tvl {

namespace {

constexpr qsizetype maxFieldLength = 1024;

QString FromTagLib(const TagLib::String& text)
{
    return QString::fromStdWString(text.toWString()).left(maxFieldLength);
}

QString FrameText(const TagLib::ID3v2::Tag& tag, const char* id)
{
    const TagLib::ID3v2::FrameList& frames = tag.frameListMap()[id];
    return frames.isEmpty() ? QString() : FromTagLib(frames.front()->toString());
}

} // namespace

QString ReadMp3TagName(const QString& path)
{
    TagLib::MPEG::File file(QFile::encodeName(path).constData(), false);
    if (!file.isValid())
        return {};
    if (file.hasID3v2Tag()) {
        const TagLib::ID3v2::Tag& tag = *file.ID3v2Tag();
        return Mp3NameFromTag(FrameText(tag, "TPE1"), FrameText(tag, "TIT2"));
    }
    if (file.hasID3v1Tag()) {
        const TagLib::ID3v1::Tag& tag = *file.ID3v1Tag();
        return Mp3NameFromTag(FromTagLib(tag.artist()), FromTagLib(tag.title()));
    }
    return {};
}

} // namespace tvl
