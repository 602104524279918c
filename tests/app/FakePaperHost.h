#pragma once

#include "app/paper/PaperHost.h"
#include "stock/StockCatalogue.h"

#include <QStringList>
#include <deque>

namespace tvl {

// Records what the paper dialogs ask of the program and answers from a script.
class FakePaperHost final : public PaperHost
{
public:
    explicit FakePaperHost(StockCatalogue& catalogue)
        : catalogue(catalogue)
    {
    }

    QString CaseKind() const override { return caseKind; }
    bool QuerySaveChanges() override
    {
        ++saveQuestions;
        return allowSave;
    }
    void OpenDefaultDesign(const QString& kind) override
    {
        openedDefaults.append(kind);
        caseKind = kind;
    }
    // As the program does: the design's case kind decides which case stock stays current.
    void ApplyStocks() override
    {
        ++applied;
        catalogue.ReconcileCaseKind(caseKind);
    }
    int Ask(const QString& text, const QString& buttons) override
    {
        questions.append(text + u'|' + buttons);
        if (answers.empty())
            return 2;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    LengthUnits Units() const override { return units; }
    void SetUnits(LengthUnits value) override
    {
        units = value;
        ++unitWrites;
    }

    StockCatalogue& catalogue;
    QString caseKind = QStringLiteral("Jewel");
    bool allowSave = true;
    int saveQuestions = 0;
    int applied = 0;
    int unitWrites = 0;
    LengthUnits units = LengthUnits::Inches;
    QStringList openedDefaults;
    QStringList questions;
    std::deque<int> answers;
};

} // namespace tvl
