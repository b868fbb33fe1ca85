#pragma once

#include <QWidget>

class RichEdit;

// The hidden work form: six rich-text editors used as off-screen RTF buffers by the import, the
// statistics export, paper assembly and rendering, and the practice forms. Never shown. Each user
// clears or overwrites a buffer before using it; nothing stays in them between operations.
class TfrmCommon : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCommon(QWidget *parent = nullptr);

    RichEdit *reContent;
    RichEdit *reTemp;
    RichEdit *rePaper;
    RichEdit *reAnswer;
    RichEdit *reMerge;
    RichEdit *reNoPaper;
};

// The work form of the session (created at login, freed with the main window); nullptr outside one.
TfrmCommon *frmCommon();
