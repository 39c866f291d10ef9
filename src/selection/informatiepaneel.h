#pragma once
// The information panel beside the list of a selection step, without a window
// (the window, usrInformatieLinks, shows the description in a text box and the
// links in a list with an "Open" button, or the profile preview in place of
// the links in the groove-figure step). It holds what the panel shows: a
// description, up to three documentation links of the supplier and which link
// is chosen; "Open" hands the chosen link to the document opener.
//
// Documentation links come from the supplier's workbooks (documentatie.h) and
// are not trusted: a link opens only when it is a web address (http, https),
// a mail address (mailto) or a document that exists and is no program
// (DocumentatieAdres). Anything else is refused with a message, and nothing is
// started. Tests replace the opener (setOpener) to see what would be opened.

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

namespace supplink {

class clsProfile;

// One documentation link: the name shown (bold, blue) and its target.
struct DocumentatieLink
{
    QString Naam;
    QString Doel;
};

// Opens an address in the desktop's own program for it (a browser, the mail program, a document
// viewer); false when that failed.
using DocumentOpener = std::function<bool(const QUrl&)>;
// The desktop's opener (QDesktopServices).
DocumentOpener BureaubladOpener();

// The address a link target may be opened at: a web or mail address as it is, an existing document that
// is no program as a file address (a relative path counts from basisMap, the supplier's folder; "\"
// separates folders as "/" does). None for anything else.
std::optional<QUrl> DocumentatieAdres(const QString& doel, const QString& basisMap = QString());

class InformatiePaneel : public QObject
{
    Q_OBJECT
public:
    explicit InformatiePaneel(QObject* parent = nullptr);

    // SetOmschrijvingTekst: the description shown.
    void SetOmschrijvingTekst(const QString& tekst);
    // Empties the link list.
    void ClearLinks();
    // Adds a link when its trimmed name or trimmed target is not empty; every call sets the list's tool tip.
    void SetLink(const QString& naam, const QString& doel);
    // Switches to the preview form: the profile preview takes the place of the links.
    void SetPreviewIsSponningfiguur();
    // Shows a groove profile in the preview (the window draws it).
    void SetProfilePreview(std::shared_ptr<const clsProfile> profiel);

    const QString& Omschrijving() const { return m_omschrijving; }
    const QList<DocumentatieLink>& Links() const { return m_links; }
    const QString& LinksToolTip() const { return m_toolTip; }
    bool IsPreview() const { return m_preview; }
    const std::shared_ptr<const clsProfile>& Profiel() const { return m_profiel; }

    // The chosen link (a click in the list), -1 when none.
    int GekozenLink() const { return m_gekozen; }
    void KiesLink(int index);
    // The Open button is enabled exactly when a link is chosen.
    bool OpenAan() const { return m_gekozen >= 0; }
    // "Open" (the button, a double click): opens the chosen link, or says why it cannot be opened.
    void Openen();
    // Ctrl+C in the link list: the chosen link's target, empty when none is chosen.
    QString KopieerTekst() const;

    // The folder relative document paths count from (the supplier's folder).
    void setBasisMap(const QString& map) { m_basisMap = map; }
    // The opener (default: the desktop's).
    void setOpener(DocumentOpener opener);

signals:
    void OmschrijvingGewijzigd();
    void LinksGewijzigd();
    // Another link was chosen (the list itself is unchanged).
    void KeuzeGewijzigd();
    void PreviewGekozen();
    void ProfielGewijzigd();

private:
    QString m_omschrijving;
    QList<DocumentatieLink> m_links;
    QString m_toolTip;
    int m_gekozen = -1;
    bool m_preview = false;
    std::shared_ptr<const clsProfile> m_profiel;
    QString m_basisMap;
    DocumentOpener m_opener;
};

} // namespace supplink
