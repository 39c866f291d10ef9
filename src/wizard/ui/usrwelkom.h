#pragma once
// The view of the welcome step (step 1): the tree of suppliers in their nine
// categories beside the page of the chosen supplier (or the default page),
// split by a splitter. A thin view over StapWelkom (wizard/stapwelkom.h): it
// draws the model's tree and page and passes clicks, double-clicks and
// splitter moves on. Categories stay expanded (a collapse is undone). Links
// of a page open as wizard/welkompagina.h allows: web and mail addresses and
// local documents through the desktop, local pages in place, nothing else.

#include "wizard/stapwelkom.h"
#include "wizard/welkompagina.h"

#include <QWidget>
#include <functional>

class QSplitter;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace supplink {

class usrWelkom : public QWidget
{
    Q_OBJECT
public:
    explicit usrWelkom(QWidget* parent);
    ~usrWelkom() override;

    StapWelkom& stap() { return m_model; }

    // Opens a web address or a local document outside the program; tests replace it.
    std::function<void(const QUrl&)> OpenExtern;

    // The tree item of a node key (a category "CAT1".."CAT9" or a supplier's code); none when absent.
    QTreeWidgetItem* Knoop(const QString& sleutel) const;

    QSplitter* Splitter1 = nullptr;
    QTreeWidget* tv = nullptr;
    QTextBrowser* WebBrowser = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void VulBoom();
    void ToonPagina(const QString& pad);
    void KoppelingGeklikt(const QUrl& link);
    void HuidigeKnoopGewijzigd(QTreeWidgetItem* knoop);
    void PasSplitterToe();

    StapWelkom m_model;
    WelkomPagina m_pagina;
    bool m_bouwt = false;
};

} // namespace supplink
