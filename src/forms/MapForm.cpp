#include "MapForm.h"

#include "Application.h"
#include "WindowPlacement.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {
const QSize DesignClient(232, 91);
} // namespace

TfmMap::TfmMap(QWidget *owner) : QDialog(owner), m_anchors(DesignClient)
{
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("Map Name"));
    setFont(Application::windowFont(15));
    resize(DesignClient);

    Label1 = new QLabel(QStringLiteral("マップネーム"), this);
    Label1->setGeometry(0, 8, 80, 15);
    edMapName = new QLineEdit(QStringLiteral("Noname"), this);
    edMapName->setGeometry(8, 27, 217, 23);
    edMapName->installEventFilter(this);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"), this);
    BitBtn1->setGeometry(72, 56, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    setTabOrder(edMapName, BitBtn1);
    edMapName->setFocus();

    m_anchors.add(edMapName, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);
    m_anchors.add(BitBtn1, Qt::RightEdge | Qt::BottomEdge);
}

void TfmMap::edMapNameKeyDown(QKeyEvent *Key)
{
    if ((Key->modifiers() & Qt::ControlModifier) && Key->key() == Qt::Key_A)
        edMapName->selectAll();
}

void TfmMap::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    WindowPlacement::centreOnScreen(this);
}

void TfmMap::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_anchors.apply(size());
}

bool TfmMap::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edMapName && event->type() == QEvent::KeyPress)
        edMapNameKeyDown(static_cast<QKeyEvent *>(event)); // the key goes on to the field
    return QDialog::eventFilter(watched, event);
}
