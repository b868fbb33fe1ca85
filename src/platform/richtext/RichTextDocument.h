#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTextFormat>

class QTextCursor;
class QTextDocument;
class QTextImageFormat;

// What a rich-text document carries beyond what QTextDocument knows: pictures with the bytes they
// were stored with, embedded objects and metafiles kept byte-exact, and the page settings and page
// header/footer of a document meant for printing. The RTF reader fills these in, the writer emits
// them, the editor and the paper renderer set them.
namespace RichText {

// Lengths inside the document are pixels at 96 dpi; RTF counts twips (1/1440 inch).
constexpr double kTwipsPerPixel = 15.0;

enum class PictureKind {
    Image = 0,    // a picture known only as a QImage (written as PNG)
    Png = 1,      // PNG bytes kept as read or inserted
    Jpeg = 2,     // JPEG bytes kept as read or inserted (written back as they are)
    Metafile = 3, // a \pict group of a format we cannot draw (WMF, EMF, ...): kept verbatim
    Object = 4,   // an \object group (equation, OLE object): kept verbatim, shown by its result picture
};

// Properties on a QTextImageFormat.
enum ImageProperty {
    PictureKindProperty = QTextFormat::UserProperty + 0x4C00, // int, PictureKind
    PayloadProperty,                                          // QString: resource name of the kept bytes
    GoalWidthProperty,                                        // int twips, as read (\picwgoal)
    GoalHeightProperty,                                       // int twips, as read (\pichgoal)
    ScaleXProperty,                                           // int percent, as read
    ScaleYProperty,                                           // int percent, as read
};

// Page geometry in twips (0 = not given) and the page header/footer as RTF groups
// ("{\header ...}{\footer ...}") kept as they were read or built.
struct PageSetup
{
    int paperWidth = 0;
    int paperHeight = 0;
    int marginLeft = 0;
    int marginRight = 0;
    int marginTop = 0;
    int marginBottom = 0;
    bool landscape = false;
    int columns = 1;
    int columnSpacing = 0;
    QByteArray headerFooter;

    bool isEmpty() const;
    bool operator==(const PageSetup &) const = default;
};

PageSetup GetPageSetup(const QTextDocument *doc);
void SetPageSetup(QTextDocument *doc, const PageSetup &setup);

// Converts a length in centimetres to twips (the page settings of printed papers are given in cm).
int CmToTwips(double cm);

// Builds a page header or footer group. kind is "header" or "footer"; in text, "{PAGE}" and
// "{NUMPAGES}" become page-number fields, so PageFooter("第 {PAGE} 页 共 {NUMPAGES} 页") gives the
// "page X of Y" footer of a printed paper.
QByteArray HeaderFooterGroup(const QString &kind, const QString &text,
                             Qt::Alignment alignment = Qt::AlignHCenter, int halfPoints = 18);
// The visible text of the header or footer groups of a setup (fields show their current result).
QString HeaderFooterText(const PageSetup &setup, const QString &kind);

// Adds a picture to the document's resources and returns the image format that shows it at the
// given size in pixels (0 = the image's own size). payload is what the writer emits for it: PNG or
// JPEG bytes for those kinds, the verbatim RTF group for Metafile and Object.
QTextImageFormat AddPicture(QTextDocument *doc, const QImage &image, PictureKind kind,
                            const QByteArray &payload, double width = 0, double height = 0);
PictureKind PictureKindOf(const QTextImageFormat &format);
QByteArray PicturePayload(const QTextDocument *doc, const QTextImageFormat &format);
QImage PictureImage(const QTextDocument *doc, const QTextImageFormat &format);

// Gives every picture of `to` that has no image yet the image and kept bytes of the picture of the
// same name in `from` (a fragment copied between documents carries only the names). Meant for a
// fresh document built from a fragment of `from`: names are only unique within one document.
void CopyPictureResources(const QTextDocument *from, QTextDocument *to);

// Reads a picture file's bytes (BMP, JPEG, PNG, GIF) and inserts it at the cursor: JPEG and PNG keep
// their bytes, other formats become PNG. False with a reason when the bytes are not a picture.
bool InsertPictureData(QTextCursor &cursor, const QByteArray &data, QString *error = nullptr);
bool InsertPictureImage(QTextCursor &cursor, const QImage &image);

} // namespace RichText
