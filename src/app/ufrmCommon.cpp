#include "ufrmCommon.h"

#include "platform/widgets/RichEdit.h"

TfrmCommon::TfrmCommon(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCommon"));
    setWindowTitle(QStringLiteral("公共窗体"));
    auto make = [this](const char *name) {
        auto *re = new RichEdit(this);
        re->setObjectName(QLatin1String(name));
        re->SetUndoEnabled(false); // buffers, not editors: no undo history to grow
        return re;
    };
    reContent = make("reContent");
    reTemp = make("reTemp");
    rePaper = make("rePaper");
    reAnswer = make("reAnswer");
    reMerge = make("reMerge");
    reNoPaper = make("reNoPaper");
}
