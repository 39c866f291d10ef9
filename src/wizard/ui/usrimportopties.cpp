#include "wizard/ui/usrimportopties.h"

#include "start/sharedroutines.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace supplink {

namespace {

// Margins and gaps of the step, in twips.
constexpr int kRand = 120;
constexpr int kTussenruimte = 60;
// How far the option buttons stand in under "Artikelen importeren", in twips.
constexpr int kInspringen = 360;

const char* const kVakNamen[StapImportOpties::AantalVakken] = {
    "chkImportArtikelen", "chkImportTabellen",      "chkImportHSKeuzes",           "chkImportShapes",
    "chkImportLibPane",   "chkImportLibLaagrelief", "chkImportLibHangSluitCombies", "chkImportLibHangSluitKeuzes"};
const char* const kOptieNamen[StapImportOpties::AantalOpties] = {"optAlleenPrijzen", "optAlleenNieuweArtikelen",
                                                                  "optArtBeide"};

} // namespace

usrImportOpties::usrImportOpties(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("usrImportOpties"));

    QList<QVBoxLayout*> kaderLayouts;
    for (int k = 0; k < StapImportOpties::AantalKaders; ++k) {
        auto* kader = new QGroupBox(StapImportOpties::KaderTekst(StapImportOpties::Kader(k)), this);
        kader->setObjectName(QStringLiteral("Frame%1").arg(k + 1));
        m_kaders[k] = kader;
        auto* kaderLayout = new QVBoxLayout(kader);
        kaderLayout->setSpacing(TwipsNaarPixels(kTussenruimte));
        kaderLayouts << kaderLayout;
    }
    for (int v = 0; v < StapImportOpties::AantalVakken; ++v) {
        const auto vak = StapImportOpties::Vak(v);
        auto* box = new QCheckBox(StapImportOpties::VakTekst(vak), m_kaders[StapImportOpties::KaderVan(vak)]);
        box->setObjectName(QString::fromLatin1(kVakNamen[v]));
        m_vakken[v] = box;
        kaderLayouts[StapImportOpties::KaderVan(vak)]->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, vak](bool aan) {
            if (!m_bezig)
                m_model.ZetVak(vak, aan);
        });
        if (vak == StapImportOpties::Artikelen) {
            for (int o = 0; o < StapImportOpties::AantalOpties; ++o) {
                const auto optie = StapImportOpties::Optie(o);
                auto* knop = new QRadioButton(StapImportOpties::OptieTekst(optie), m_kaders[StapImportOpties::KaderArtikelen]);
                knop->setObjectName(QString::fromLatin1(kOptieNamen[o]));
                // One of the three is on, as the model says (also a disabled one it remembered).
                knop->setAutoExclusive(false);
                m_opties[o] = knop;
                auto* rij = new QHBoxLayout;
                rij->setContentsMargins(TwipsNaarPixels(kInspringen), 0, 0, 0);
                rij->addWidget(knop);
                kaderLayouts[StapImportOpties::KaderArtikelen]->addLayout(rij);
                connect(knop, &QRadioButton::clicked, this, [this, optie] {
                    if (m_bezig)
                        return;
                    m_model.ZetOptie(optie);
                    Toon(); // a click on the button that is on leaves it on
                });
            }
        }
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(TwipsNaarPixels(kRand), TwipsNaarPixels(kTussenruimte), TwipsNaarPixels(kRand), 0);
    layout->setSpacing(TwipsNaarPixels(kRand));
    for (QGroupBox* kader : m_kaders)
        layout->addWidget(kader);
    layout->addStretch(1);

    connect(&m_model, &StapImportOpties::Gewijzigd, this, &usrImportOpties::Toon);
    Toon();
}

usrImportOpties::~usrImportOpties() = default;

void usrImportOpties::Toon()
{
    m_bezig = true;
    for (int v = 0; v < StapImportOpties::AantalVakken; ++v) {
        const StapImportOpties::Bediening& b = m_model.vak(StapImportOpties::Vak(v));
        m_vakken[v]->setEnabled(b.aan);
        m_vakken[v]->setChecked(b.gekozen);
    }
    for (int o = 0; o < StapImportOpties::AantalOpties; ++o) {
        const StapImportOpties::Bediening& b = m_model.optie(StapImportOpties::Optie(o));
        m_opties[o]->setEnabled(b.aan);
        m_opties[o]->setChecked(b.gekozen);
    }
    m_bezig = false;
}

} // namespace supplink
