#pragma once

#include <QByteArray>
#include <QImage>
#include <QLabel>

// A picture box: shows an image scaled into its frame and remembers whether the picture was changed
// since it was last loaded from the database (the photo fields save only a changed picture).
class PictureBox : public QLabel
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QImage &image, const QByteArray &bytes = QByteArray());
    void clearPicture();
    QImage picture() const { return m_image; }
    // The original file bytes of the picture (kept so a JPEG is stored as it came).
    QByteArray pictureBytes() const { return m_bytes; }
    bool hasPicture() const { return !m_image.isNull(); }

    bool isPictureChanged() const { return m_changed; }
    void setPictureChanged(bool changed) { m_changed = changed; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void updatePixmap();
    QImage m_image;
    QByteArray m_bytes;
    bool m_changed = false;
};

// Loads a BMP or JPEG file (by signature) into the box and marks it changed. Returns false for an
// empty file, another format or undecodable data, leaving the box as it was; error gets the reason
// when the file cannot be read.
bool LoadPictureFile(PictureBox *box, const QString &path, QString *error = nullptr);
