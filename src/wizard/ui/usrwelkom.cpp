#include "wizard/ui/usrwelkom.h"

#include "platform/uiservices.h"
#include "start/globals.h"

#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>

namespace supplink {

namespace {

constexpr int kSleutelRol = Qt::UserRole;
constexpr int kCategorieRol = Qt::UserRole + 1;
constexpr int kRand = 4; // the same margin on every side of the splitter

} // namespace

usrWelkom::usrWelkom(QWidget* parent)
    : QWidget(parent), OpenExtern([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("usrWelkom"));
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);

    tv = new QTreeWidget(Splitter1);
    tv->setObjectName(QStringLiteral("tv"));
    tv->setHeaderHidden(true);
    tv->setColumnCount(1);
    tv->setRootIsDecorated(true);
    tv->setUniformRowHeights(true);
    tv->setExpandsOnDoubleClick(false);

    WebBrowser = new QTextBrowser(Splitter1);
    WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
    WebBrowser->setOpenLinks(false);
    WebBrowser->setOpenExternalLinks(false);

    Splitter1->addWidget(tv);
    Splitter1->addWidget(WebBrowser);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kRand, kRand, kRand, kRand);
    layout->addWidget(Splitter1);

    connect(&m_model, &StapWelkom::BoomGewijzigd, this, &usrWelkom::VulBoom);
    connect(&m_model, &StapWelkom::PaginaGewijzigd, this, &usrWelkom::ToonPagina);
    connect(&m_model, &StapWelkom::SplitterHersteld, this, &usrWelkom::PasSplitterToe);
    connect(tv, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* knoop) { HuidigeKnoopGewijzigd(knoop); });
    connect(tv, &QTreeWidget::itemDoubleClicked, this, [this] { m_model.KnoopDubbelGeklikt(); });
    // The categories stay open.
    connect(tv, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem* knoop) { knoop->setExpanded(true); });
    connect(WebBrowser, &QTextBrowser::anchorClicked, this, &usrWelkom::KoppelingGeklikt);
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] {
        const QList<int> maten = Splitter1->sizes();
        const int totaal = maten.value(0) + maten.value(1);
        if (totaal > 0)
            m_model.ZetSplitterPositie((maten.value(0) * 100 + totaal / 2) / totaal);
    });
}

usrWelkom::~usrWelkom() = default;

QTreeWidgetItem* usrWelkom::Knoop(const QString& sleutel) const
{
    for (int i = 0; i < tv->topLevelItemCount(); ++i) {
        QTreeWidgetItem* categorie = tv->topLevelItem(i);
        if (categorie->data(0, kSleutelRol).toString() == sleutel)
            return categorie;
        for (int j = 0; j < categorie->childCount(); ++j) {
            if (categorie->child(j)->data(0, kSleutelRol).toString().compare(sleutel, Qt::CaseInsensitive) == 0)
                return categorie->child(j);
        }
    }
    return nullptr;
}

void usrWelkom::VulBoom()
{
    const QScopedValueRollback bouwt(m_bouwt, true);
    tv->clear();
    for (const WelkomCategorie& categorie : m_model.Boom()) {
        auto* knoop = new QTreeWidgetItem(tv, QStringList{categorie.tekst});
        knoop->setData(0, kSleutelRol, categorie.sleutel);
        knoop->setData(0, kCategorieRol, true);
        QFont vet = knoop->font(0);
        vet.setBold(true);
        knoop->setFont(0, vet);
        for (const auto& leverancier : categorie.leveranciers) {
            auto* kind = new QTreeWidgetItem(knoop, QStringList{leverancier->Omschrijving});
            kind->setData(0, kSleutelRol, leverancier->Code);
            kind->setData(0, kCategorieRol, false);
        }
    }
    tv->expandAll();
    if (QTreeWidgetItem* gekozen = Knoop(m_model.GeselecteerdeSleutel())) {
        tv->setCurrentItem(gekozen);
        tv->scrollToItem(gekozen);
    }
}

void usrWelkom::HuidigeKnoopGewijzigd(QTreeWidgetItem* knoop)
{
    if (m_bouwt || !knoop)
        return;
    m_model.KnoopGeklikt(knoop->data(0, kSleutelRol).toString(), knoop->data(0, kCategorieRol).toBool());
}

void usrWelkom::ToonPagina(const QString& pad)
{
    m_pagina = LaadWelkomPagina(pad);
    WebBrowser->setSearchPaths(m_pagina.map.isEmpty() ? QStringList() : QStringList{m_pagina.map});
    WebBrowser->setHtml(m_pagina.html);
}

void usrWelkom::KoppelingGeklikt(const QUrl& link)
{
    if (link.scheme().isEmpty() && link.path().isEmpty() && link.hasFragment()) {
        WebBrowser->scrollToAnchor(link.fragment());
        return;
    }
    const QUrl adres = m_pagina.basis.isEmpty() ? link : m_pagina.basis.resolved(link);
    switch (BeoordeelKoppeling(adres)) {
    case KoppelingSoort::Web:
    case KoppelingSoort::Document:
        OpenExtern(adres);
        break;
    case KoppelingSoort::Pagina:
        // Another page of the supplier: shown in place, the chosen supplier stays.
        ToonPagina(adres.isLocalFile() ? adres.toLocalFile() : adres.path());
        if (adres.hasFragment())
            WebBrowser->scrollToAnchor(adres.fragment());
        break;
    case KoppelingSoort::Geweigerd:
        ui().messageBox(QStringLiteral("De koppeling '%1' wordt niet geopend: alleen webadressen, pagina's en "
                                       "documenten worden geopend, geen programma's.")
                            .arg(adres.isLocalFile() ? QDir::toNativeSeparators(adres.toLocalFile())
                                                     : adres.toDisplayString()),
                        MsgBox::OkOnly | MsgBox::Exclamation, QString::fromUtf8(kProgramTitle));
        break;
    }
}

void usrWelkom::PasSplitterToe()
{
    const int breedte = Splitter1->width() - Splitter1->handleWidth();
    if (breedte <= 0)
        return;
    const int links = breedte * m_model.SplitterPositie() / 100;
    Splitter1->setSizes({links, breedte - links});
}

void usrWelkom::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PasSplitterToe();
}

void usrWelkom::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    PasSplitterToe();
}

} // namespace supplink
