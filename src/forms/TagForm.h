#pragma once

#include <QWidget>

class QPlainTextEdit;

// The tag list window: holds the markup document, which the user may read, edit
// and copy. Closing it only hides it. Its construction applies the settings file.
class TfmTag : public QWidget
{
    Q_OBJECT
public:
    explicit TfmTag(QWidget *parent = nullptr);
    ~TfmTag() override;

    QPlainTextEdit *TagList;

    void FormActivate();
    void FormHide();
    void TagListKeyDown(QKeyEvent *Key);

    // Files a finished area line in front of the document's last line.
    void insertAreaLine(const QString &line);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readSettings();

    bool m_placed = false;
};

extern TfmTag *fmTag;
