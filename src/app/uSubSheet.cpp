#include "uSubSheet.h"

#include <QVBoxLayout>

TSubSheet::TSubSheet(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

TSubSheet::~TSubSheet() = default;

void TSubSheet::hostForm(QWidget *form)
{
    m_form = form;
    form->setParent(this, Qt::Widget); // a form built as a window becomes a plain child: no frame
    layout()->addWidget(form);
    form->setVisible(true);
}

bool TSubSheet::CloseSheet()
{
    if (m_hForm) {
        m_tag = 0;
        const bool accepted = m_hForm->close();
        if (m_tag == 1 || !accepted)
            return false;
        m_hForm = nullptr;
    }
    DllHwnd = 0;
    return true;
}

TSubSheet *TSubSheet::sheetOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *sheet = qobject_cast<TSubSheet *>(w))
            return sheet;
    }
    return nullptr;
}
