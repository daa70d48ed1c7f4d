#pragma once

#include "Anchors.h"

#include <QDialog>

class OpenDialog;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The link dialog: asks for an area's link and frame target. Created once and
// reused; its texts stay from one showing to the next.
class TfmHref : public QDialog
{
    Q_OBJECT
public:
    explicit TfmHref(QWidget *parent = nullptr);
    ~TfmHref() override;

    QLineEdit *edHref;
    QLabel *Label1;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    OpenDialog *dlgOpenHref;
    QPushButton *btnRef;
    QLabel *Label2;
    QComboBox *cbTarget;

    void btnRefClick(QObject *Sender);
    void edHrefKeyDown(QKeyEvent *Key);
    void cbTargetKeyDown(QKeyEvent *Key);

    // The link from the picture's folder (`base`, the picture's full path) to `target`.
    QString RelativeLink(const QString &target, const QString &base) const;

    // The picture's full path, the base of browsed links; written before each showing.
    const QString &imagePath() const { return m_imagePath; }
    void setImagePath(const QString &path) { m_imagePath = path; }

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Anchors m_anchors;
    QString m_imagePath;
    bool m_placed = false;
};

extern TfmHref *fmHref;
