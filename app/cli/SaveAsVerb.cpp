#include "app/cli/SaveAsVerb.h"

#include "app/cli/ReadError.h"
#include "app/cli/StockHooks.h"
#include "app/cli/VerbOutput.h"
#include "app/settings/SettingsStore.h"
#include "app/settings/StoreSettings.h"
#include "document/design/DesignDocument.h"
#include "document/design/ReadIntoDocument.h"
#include "document/files/DesignReadApply.h"
#include "document/files/ProgramFolder.h"
#include "document/model/SurfaceNames.h"
#include "stock/ApplyStocks.h"
#include "stock/StockCatalogue.h"

#include <QFileInfo>
#include <cstdio>

namespace tvl {
namespace {

// Without the print options of a window, the disc order the file was saved with is kept.
DiscPositionMode DiscPositionOf(const LabelDesign& design)
{
    const CRichChild* first = design.FindCover(kDisc1);
    const CRichChild* second = design.FindCover(kDisc2);
    return first && second && first->top() > second->top() ? DiscPositionMode::DiscOnBottom
                                                           : DiscPositionMode::DiscOnTop;
}

int Fail(const FileError& error)
{
    PrintError(FullMessage(error));
    return 1;
}

} // namespace

int RunSaveAsVerb(std::span<char*> args)
{
    if (args.size() != 2) {
        std::fprintf(stderr, "Usage: tovrelline save-as IN.tvl OUT.tvl\n");
        return 2;
    }
    const QString input = ArgumentFileName(args[0]);
    const QString output = ArgumentFileName(args[1]);

    SettingsStore store(SettingsStore::DefaultFilePath());
    StoreSettings settings(store);
    StockCatalogue catalogue(ProgramFolder(), settings);
    catalogue.LoadCatalogue();
    StockHooks hooks(catalogue);
    DesignDocument document;
    LiveDesignState opened;
    const auto open = [&](LabelDesign& design, LiveDesignState& live) {
        DiscPositionMode discPositionMode = DiscPositionOf(design);
        QString title = QFileInfo(input).fileName();
        ApplyReadDesign(design, live, discPositionMode, title, hooks);
        document.SetDiscPositionMode(discPositionMode);
        opened = live;
    };
    const FileResult<DesignReadNotes> read =
        ReadIntoDocument(document, input, PictureReading::KeepEncoded, open);
    if (!read) {
        PrintReadError(args[0], read.error());
        return 1;
    }
    PrintReadNotices(read.value(), document.design());

    // The live state is written back as the opening steps left it: the document's own copy is normalised
    // (an empty disc mode becomes "Single", the page code follows the surface's cover).
    const FileResult<> written = WriteDesignFile(output, document.MutableDesign(), opened);
    if (!written)
        return Fail(written.error());
    return 0;
}

} // namespace tvl
