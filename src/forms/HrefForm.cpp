#include "HrefForm.h"

#include "Application.h"
#include "OpenDialog.h"
#include "RelativeLink.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TfmHref *fmHref = nullptr;

namespace {
const QSize DesignClient(229, 133);

// Ctrl+A, whatever else is held with it.
bool isSelectAllKey(const QKeyEvent *key)
{
    return (key->modifiers() & Qt::ControlModifier) && key->key() == Qt::Key_A;
}
} // namespace

TfmHref::TfmHref(QWidget *parent) : QDialog(parent), m_anchors(DesignClient)
{
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("タグ設定"));
    setFont(Application::windowFont(15));
    resize(DesignClient);

    edHref = new QLineEdit(QStringLiteral("*.html"), this);
    edHref->setGeometry(8, 24, 161, 23);
    Label1 = new QLabel(QStringLiteral("リンク先 （&href）"), this);
    Label1->setGeometry(0, 8, 98, 15);
    Label1->setBuddy(edHref);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"), this);
    BitBtn1->setGeometry(8, 104, 97, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("キャンセル"), this);
    BitBtn2->setGeometry(124, 104, 97, 25);
    BitBtn2->setAutoDefault(false);
    dlgOpenHref = new OpenDialog(QStringLiteral("html文書|*.html;*.htm|すべてのﾌｧｲﾙ|*.*"), this);
    btnRef = new QPushButton(QStringLiteral("参照(&R)"), this);
    btnRef->setGeometry(168, 24, 57, 25);
    btnRef->setAutoDefault(false);
    Label2 = new QLabel(QStringLiteral("フレーム情報 （&target）"), this);
    Label2->setGeometry(0, 56, 142, 15);
    cbTarget = new QComboBox(this);
    cbTarget->setEditable(true);
    cbTarget->setInsertPolicy(QComboBox::NoInsert);
    cbTarget->addItems({QString(), QStringLiteral("_blank"), QStringLiteral("_self"),
                        QStringLiteral("_top"), QStringLiteral("_parent")});
    cbTarget->setEditText(QString());
    cbTarget->setGeometry(8, 75, 185, 23);
    Label2->setBuddy(cbTarget);

    setTabOrder(edHref, btnRef);
    setTabOrder(btnRef, cbTarget);
    setTabOrder(cbTarget, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    m_anchors.add(edHref, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);
    m_anchors.add(btnRef, Qt::TopEdge | Qt::RightEdge);
    m_anchors.add(cbTarget, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);
    m_anchors.add(BitBtn1, Qt::RightEdge | Qt::BottomEdge);
    m_anchors.add(BitBtn2, Qt::RightEdge | Qt::BottomEdge);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnRef, &QPushButton::clicked, this,
            [this] { Application::guard([this] { btnRefClick(btnRef); }); });
    edHref->installEventFilter(this);
    // Keys reach the combo box, which hands them to its edit part directly,
    // past any filter there; both are watched.
    cbTarget->installEventFilter(this);
    cbTarget->lineEdit()->installEventFilter(this);
    if (!fmHref)
        fmHref = this;
}

TfmHref::~TfmHref()
{
    if (fmHref == this)
        fmHref = nullptr;
}

void TfmHref::btnRefClick(QObject *)
{
    if (!dlgOpenHref->Execute())
        return;
    edHref->setText(RelativeLink(dlgOpenHref->fileName(), imagePath()));
}

QString TfmHref::RelativeLink(const QString &target, const QString &base) const
{
    return relativeLink(target, base);
}

void TfmHref::edHrefKeyDown(QKeyEvent *Key)
{
    if (isSelectAllKey(Key))
        edHref->selectAll();
}

void TfmHref::cbTargetKeyDown(QKeyEvent *Key)
{
    if (isSelectAllKey(Key))
        cbTarget->lineEdit()->selectAll();
}

void TfmHref::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_placed)
        return;
    // Centred on the first showing; later ones open where it was left.
    m_placed = true;
    WindowPlacement::centreOnScreen(this);
}

void TfmHref::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_anchors.apply(size());
}

bool TfmHref::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == edHref)
            edHrefKeyDown(key);
        else if (watched == cbTarget || watched == cbTarget->lineEdit())
            cbTargetKeyDown(key);
    }
    return QDialog::eventFilter(watched, event); // the key goes on to the field
}
