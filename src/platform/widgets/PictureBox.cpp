#include "PictureBox.h"

#include "platform/FileChecks.h"

#include <QCoreApplication>
#include <QPixmap>

PictureBox::PictureBox(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::StyledPanel);
    setMinimumSize(32, 32);
}

void PictureBox::setPicture(const QImage &image, const QByteArray &bytes)
{
    m_image = image;
    m_bytes = bytes;
    updatePixmap();
}

void PictureBox::clearPicture()
{
    m_image = QImage();
    m_bytes.clear();
    clear();
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    updatePixmap();
}

void PictureBox::updatePixmap()
{
    if (m_image.isNull()) {
        clear();
        return;
    }
    setPixmap(QPixmap::fromImage(
        m_image.scaled(contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

bool LoadPictureFile(PictureBox *box, const QString &path, QString *error)
{
    QImage image;
    QByteArray bytes;
    const bool ok = LoadPictureImage(path, image, &bytes, error);
    if (ok) {
        box->setPicture(image, bytes);
        box->setPictureChanged(true);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return ok;
}
