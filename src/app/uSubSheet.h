#pragma once

#include <QPointer>
#include <QWidget>

// A page of the main window's page area hosting one sub-system form.
//
// Closing protocol: a hosted form that must be asked before it goes (unsaved changes) registers itself
// as the sheet's HForm when it is shown:
//
//   void TfrmQuesMake::showEvent(QShowEvent *e) { if (auto *s = TSubSheet::sheetOf(this)) s->setHForm(this);
//   }
//
// Closing the sheet then sends it a close request (its closeEvent runs). The form refuses by setting
// the sheet's Tag to 1 (TSubSheet::sheetOf(this)->setTag(1)) or by ignoring the close event; the
// sheet, the form and its title button then stay. A form that registers nothing is simply freed.
class TSubSheet : public QWidget
{
    Q_OBJECT
public:
    explicit TSubSheet(QWidget *parent = nullptr);
    ~TSubSheet() override;

    // Menu code of the hosted sub-system: the key by which sheets are found.
    QString Sn;
    QString Title;

    QWidget *HForm() const { return m_hForm; }
    void setHForm(QWidget *form) { m_hForm = form; }
    // Handle of a library the hosted form came from; kept for hosting protocols, never set here.
    quintptr DllHwnd = 0;
    int Flag() const { return m_flag; }
    void setFlag(int flag) { m_flag = flag; }
    bool CloseFlag = false;
    int Tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    // Puts the form into the sheet, filling it, without a frame of its own, and shows it.
    void hostForm(QWidget *form);
    QWidget *hostedForm() const { return m_form; }

    // Asks the hosted form (when it registered as HForm) and closes: true when the sheet may be freed.
    // The caller frees it (the main window removes its page and title button).
    bool CloseSheet();

    // The sheet a widget sits in, or nullptr.
    static TSubSheet *sheetOf(QWidget *widget);

private:
    QPointer<QWidget> m_hForm;
    QPointer<QWidget> m_form;
    int m_flag = 0;
    int m_tag = 0;
};
