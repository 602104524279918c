#include "app/print/CdPrinterDialog.h"

#include "app/messages/ErrorReport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tvl {

CdPrinterDialog::CdPrinterDialog(CdPrinterContext context, bool fromPrint, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(QStringLiteral(" CD Printer Properties"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Please make sure the settings are correct to print directly on the CD."), this));

    auto* printerRow = new QHBoxLayout;
    m_printers = new QComboBox(this);
    m_printers->addItems(m_context.printers);
    int current = static_cast<int>(m_context.printers.indexOf(m_context.setup.printerName));
    for (int i = 0; current < 0 && i < m_context.printers.size() && !m_context.setup.printerName.isEmpty();
         ++i) {
        if (m_context.printers[i].startsWith(m_context.setup.printerName))
            current = i;
    }
    m_printers->setCurrentIndex(std::max(current, 0));
    auto* printerLabel = new QLabel(QStringLiteral("CD Printer"), this);
    printerLabel->setBuddy(m_printers);
    auto* properties = new QPushButton(QStringLiteral("Properties"), this);
    properties->setObjectName(QStringLiteral("cdPrinterProperties"));
    printerRow->addWidget(printerLabel);
    printerRow->addWidget(m_printers, 1);
    printerRow->addWidget(properties);
    layout->addLayout(printerRow);

    m_trayLabel = new QLabel(QStringLiteral("Select the CD Printer Tray"), this);
    m_trays = new QComboBox(this);
    m_trayLabel->setBuddy(m_trays);
    layout->addWidget(m_trayLabel);
    layout->addWidget(m_trays);

    m_explanation = new QLabel(
        fromPrint
            ? QStringLiteral(
                  "These settings are saved separately, and are only used to print directly on the "
                  "CD.\nThe 'CD Printer Properties' can also be accessed from the 'Print' dialog box.")
            : QStringLiteral(
                  "These settings are saved separately, and are only used to print directly on the CD."),
        this);
    m_explanation->setWordWrap(true);
    layout->addWidget(m_explanation);
    m_doNotShow = new QCheckBox(QStringLiteral("Do not show this message again."), this);
    m_doNotShow->setVisible(fromPrint);
    layout->addWidget(m_doNotShow);

    auto* buttons = new QDialogButtonBox(this);
    m_accept = buttons->addButton(fromPrint ? QStringLiteral("Print") : QStringLiteral("OK"),
                                  QDialogButtonBox::AcceptRole);
    m_accept->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    buttons->addButton(QDialogButtonBox::Help)->setEnabled(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Guarded(968, [&] {
            m_context.save();
            accept();
        });
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { Guarded(968, [&] { reject(); }); });

    // A printer that is not there now still shows as the chosen one until the user picks another.
    if (m_context.setup.printerName.isEmpty() && !m_context.printers.isEmpty()) {
        m_context.setup.printerName = m_printers->currentText();
        m_context.save();
    }
    connect(m_printers, &QComboBox::activated, this, [this] {
        Guarded(1064, [&] {
            PrinterSetup fresh;
            fresh.printerName = m_printers->currentText();
            fresh.copies = m_context.setup.copies;
            m_context.setup = fresh;
            m_context.save();
        });
        FillTrays(1065);
    });
    connect(properties, &QPushButton::clicked, this, [this] {
        bool changed = false;
        Guarded(967, [&] {
            changed = m_context.properties && m_context.properties(m_context.setup);
            if (changed)
                m_context.save();
        });
        if (changed)
            FillTrays(1065);
    });
    connect(m_trays, &QComboBox::activated, this, [this] {
        Guarded(1063, [&] {
            m_context.setup.tray = m_trays->currentText();
            m_context.save();
        });
    });
    FillTrays(1062);
}

void CdPrinterDialog::FillTrays(int errorNumber)
{
    // Until the printer's trays are known there is nothing to choose.
    m_trays->clear();
    m_trays->hide();
    m_trayLabel->hide();
    Guarded(errorNumber, [&] { FillTrayList(); });
}

void CdPrinterDialog::FillTrayList()
{
    const QStringList trays = m_context.trays ? m_context.trays(m_context.setup.printerName) : QStringList();
    // No tray chosen yet is the printer's first one.
    const qsizetype current = m_context.setup.tray.isEmpty() ? 0 : trays.indexOf(m_context.setup.tray);
    const bool shown = trays.size() > 1 && current >= 0;
    if (shown) {
        m_trays->addItems(trays);
        m_trays->setCurrentIndex(static_cast<int>(current));
    }
    m_trays->setVisible(shown);
    m_trayLabel->setVisible(shown);
}

bool CdPrinterDialog::DoNotShowAgain() const
{
    return !m_doNotShow->isHidden() && m_doNotShow->isChecked();
}

CdPrinterAnswer RunCdPrinterDialog(CdPrinterContext context, bool fromPrint, QWidget* parent)
{
    return Guarded(964, CdPrinterAnswer{}, [&] {
        CdPrinterDialog dialog(std::move(context), fromPrint, parent);
        const bool accepted = dialog.exec() == QDialog::Accepted;
        return CdPrinterAnswer{accepted, dialog.DoNotShowAgain()};
    });
}

} // namespace tvl
