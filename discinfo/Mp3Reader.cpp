#include "discinfo/Mp3Reader.h"

#include "discinfo/FileFinder.h"
#include "discinfo/Mp3Names.h"
#include "discinfo/Mp3PlayTime.h"
#include "discinfo/Mp3TagReader.h"

namespace tvl {

void ReadMp3Files(ReadCdState& state, const QString& startFolder)
{
    state.ResetMp3();
    QStringList paths;
    QStringList names;
    if (!startFolder.isEmpty()) {
        FileFinder finder([&state] { return !state.runFlag; });
        finder.Search(startFolder, QString(), true);
        const QStringList folders = finder.Folders();
        finder.ClearFiles();
        for (const QString& folder : folders)
            finder.Search(folder, QStringLiteral("*.mp3"), false);
        for (const FileFinder::FoundFile& file : finder.Files()) {
            paths.append(file.path);
            names.append(Mp3NameFromFileName(file.path));
            state.SetStatusText(u' ' + names.last());
        }
    }
    if (paths.isEmpty()) {
        state.SetStatus(ReadCdState::noMusicTracks);
        return;
    }
    state.SetMp3FileNames(names, static_cast<int>(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!state.runFlag)
            return;
        const QString tagName = ReadMp3TagName(paths[i]);
        state.SetStatusText(u' ' + (tagName.isEmpty() ? names[i] : tagName));
        state.AppendMp3Row(tagName, Mp3PlayTime(paths[i]));
    }
}

} // namespace tvl
