#include "start/ui/frmpickone.h"

#include "start/sharedroutines.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace supplink {

frmSelecteerGroepofLeverancier::frmSelecteerGroepofLeverancier(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Form1"));
    lbUitleg = new QLabel(this);
    lbUitleg->setWordWrap(true);
    lbOnderdeel = new QLabel(this);
    cbGroep = new QComboBox(this);
    cbGroep->setEditable(false);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Annuleren"), this);

    auto* list = new QHBoxLayout;
    list->addWidget(lbOnderdeel);
    list->addWidget(cbGroep, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbUitleg);
    layout->addLayout(list);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(TwipsNaarPixels(6000), TwipsNaarPixels(2400));

    connect(cmdOK, &QPushButton::clicked, this, &frmSelecteerGroepofLeverancier::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelecteerGroepofLeverancier::cmdCancel_Click);
}

void frmSelecteerGroepofLeverancier::SetUitleg(const QString& text)
{
    lbUitleg->setText(text);
}

void frmSelecteerGroepofLeverancier::SetOnderdeel(const QString& text)
{
    lbOnderdeel->setText(text);
}

void frmSelecteerGroepofLeverancier::VulLijst(const QList<PickOneEntry>& entries)
{
    for (const PickOneEntry& entry : entries)
        cbGroep->addItem(entry.text, entry.key);
    if (cbGroep->count() > 0)
        cbGroep->setCurrentIndex(0);
}

qint32 frmSelecteerGroepofLeverancier::GeselecteerdID() const
{
    const int index = cbGroep->currentIndex();
    if (index < 0)
        return -1;
    return cbGroep->itemData(index).toInt();
}

void frmSelecteerGroepofLeverancier::cmdCancel_Click()
{
    OKGekozen = false;
    ExtraVlag = false;
    hide();
}

void frmSelecteerGroepofLeverancier::cmdOK_Click()
{
    OKGekozen = true;
    ExtraVlag = false;
    hide();
}

} // namespace supplink
