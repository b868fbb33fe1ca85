#pragma once

#include <QWidget>

// A sub-system form hosted in a tab sheet. FormShow runs once, the first time the form is shown
// (the moment the form's lists are loaded), not at construction, so a form created and never shown
// touches no database.
class TSubForm : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void FormShow() = 0;

protected:
    void showEvent(QShowEvent *event) override
    {
        QWidget::showEvent(event);
        if (!m_shown) {
            m_shown = true;
            FormShow();
        }
    }

private:
    bool m_shown = false;
};
