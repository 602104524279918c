#pragma once

#include "document/design/DesignDocument.h"

#include <gtest/gtest.h>

namespace tvl {

// Puts the items and album header of the sample design into document, as a file read would.
void LoadSampleDesign(DesignDocument& document);

// A test that edits one document and looks its items up by name.
class DocumentTest : public testing::Test
{
protected:
    const CRichChild& Item(const char* name) const
    {
        return *document.design().FindItem(QString::fromLatin1(name));
    }

    DesignDocument document;
};

// A test on a document holding the sample design.
class SampleDocumentTest : public DocumentTest
{
protected:
    SampleDocumentTest() { LoadSampleDesign(document); }
};

} // namespace tvl
