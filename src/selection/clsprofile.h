#pragma once
// The outline of one groove shape of a work-preparation database, in
// millimetres, as the profile preview draws it.
//
// A shape is a chain of nodes, each a step in X and a step in Z. A node's Z
// step is a fixed value or a formula of the variable "r": the height that the
// fixed steps of its side leave over. The left side comes from the shape
// itself (nodes in ascending order), the right side from a second shape (in
// descending order) or, without one, a flat side along the right edge.
//
//     clsConnectie cn;
//     if (cn.MakenJetorSQLiteConnectie(path)) {
//         clsProfile profile;
//         profile.Connectie = &cn;
//         if (profile.GetProfileData(code, QString(), false))
//             for (int i = 0; i <= profile.CoorDinateCount(); ++i)
//                 use(profile.x(i), profile.Y(i));
//         cn.SluitenConnectie();
//     }
//
// X runs across the groove from -Width/2 to +Width/2, Y from 0 at the bottom
// to Height at the top. The outline is closed: its last point repeats the first.

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace supplink {

class clsConnectie;

// One node of a side, its values already in millimetres.
struct ProfileNode
{
    bool formula = false;  // the Z step comes from the formula
    double deltaZ = 0.0;   // the fixed Z step
    QString deltaZFormula; // the formula of a formula step
    double deltaX = 0.0;   // X of the node, measured inward from the outer edge of its side
};

// The points of a closed outline.
struct ProfileOutline
{
    std::vector<double> x;
    std::vector<double> y;
};

// Builds the closed outline of a profile of the given width and height from
// its left nodes (ascending order) and right nodes (descending order); an
// empty side is the flat side. A formula step is evaluated with "r" set to the
// height less the fixed steps of its side; a formula that cannot be evaluated
// steps 0. The first node of the left side steps up from 0.
ProfileOutline BuildProfileOutline(double width, double height, const std::vector<ProfileNode>& left,
                                   const std::vector<ProfileNode>& right);

// A number in the program's usual text form: the shortest form in the current
// locale (decimal comma in Dutch), without thousands separators.
QString ProfileNumberText(double value);

// The divisor that turns stored node values into millimetres: on Jet 0.001
// for a DeltaZ column of type Double (values in metres), else 10 (tenths of a
// millimetre); on SQLite always 0.001.
double ProfileNodeDivisor(bool jet, int deltaZFieldType);

class clsProfile
{
public:
    clsProfile() = default;

    // The open connection to the database that holds the shapes (not owned, never closed here).
    clsConnectie* Connectie = nullptr;
    QString ProfileName;
    double Height = 0.0;
    double Width = 0.0;
    // Read the contra geometry of a shape instead of its own.
    bool Contra = false;
    // Whether a failed load shows its message box (the preview of the groove-figure step loads quietly).
    bool ReportErrors = true;

    // The coordinates of point i; throws AppError 9 for an index outside the outline.
    double x(int i) const;
    double Y(int i) const;
    // The highest point index; 0 when nothing has been loaded.
    int CoorDinateCount() const;

    // Loads the outline of shape Code (left side) and ContraCode (right side,
    // the flat side when no such shape exists) and mirrors it when asked.
    // True when the first shape has nodes and the whole load succeeded. A
    // failed load reports the error in a message box (unless ReportErrors is
    // off) and leaves the object as it was.
    bool GetProfileData(const QString& Code, const QString& ContraCode, bool Mirror);

    // Reverses the point order and mirrors every Y about half the height.
    // Throws AppError 9 before any load.
    void MirrorHorizontal();

    // The outline as a text of name and point lines ("p1=x y").
    QString HemagProfile() const;
    // The coordinates as one string of whole numbers of at least three digits,
    // each rounded to Decimals first; X shifted by XOffset. With Segments every
    // segment gives its two end points.
    QString ProfileCoordinates(int Decimals, double XOffset, bool Segments) const;

private:
    const std::vector<double>& checked(const std::vector<double>& values, int i) const;

    bool m_loaded = false;
    std::vector<double> m_x;
    std::vector<double> m_y;
};

// Looks the shape up in the work-preparation databases at the given paths, in
// order, each opened for its attempt only and closed right after it; the first
// database that holds the shape gives the profile. Null when none does. A path
// that names no file is skipped, and a load that fails is not reported: the
// preview that asks simply keeps what it showed.
std::shared_ptr<clsProfile> LoadProfileFromDatabases(const QStringList& paths, const QString& code);

} // namespace supplink
