#pragma once

namespace tvl {

// The labels the user ticked to print.
struct LabelsToPrint
{
    bool front = false;
    bool back = false;
    bool disc1 = false;
    bool disc2 = false;
};

// The sheets a job sends, numbered 1 (the disc sheet), 2 (the first case sheet), 3 (the second case
// sheet). firstPage 0 means nothing is selected.
struct PageRange
{
    int firstPage = 0;
    int lastPage = 0;
    // Discs and a back on the second case sheet print without the front: the job's page 2 is sheet 3.
    bool skipFrontPage = false;

    int PageCount() const { return firstPage == 0 ? 0 : lastPage - firstPage + 1; }
    // The pages sent for all copies.
    int Total(int copies) const { return PageCount() * copies; }
    // The sheet printed as job page n (firstPage..lastPage).
    int SheetOfPage(int page) const { return skipFrontPage && page == 2 ? 3 : page; }
};

// The range for the ticked labels; casePage2 is the page the case stock puts its second label on (2 when
// both case labels share the first case sheet). Disc 2 counts only in a double design.
PageRange ComputePageRange(const LabelsToPrint& labels, bool doubleDisc, int casePage2);

} // namespace tvl
