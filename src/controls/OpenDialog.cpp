#include "OpenDialog.h"

#include "FileFilter.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {
OpenDialog::Hook &testHook()
{
    static OpenDialog::Hook hook;
    return hook;
}
} // namespace

OpenDialog::OpenDialog(const QString &filter, QWidget *owner)
    : QObject(owner), m_filter(filter), m_owner(owner)
{
}

void OpenDialog::setTestHook(Hook hook)
{
    testHook() = std::move(hook);
}

bool OpenDialog::Execute()
{
    if (testHook())
        return testHook()(*this);

    QFileDialog dialog(m_owner);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The descriptions already name their patterns; show them as they are.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = FileFilter::nameFilters(m_filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    if (!m_fileName.isEmpty()) {
        dialog.setDirectory(QFileInfo(m_fileName).absolutePath());
        dialog.selectFile(m_fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    m_fileName = dialog.selectedFiles().constFirst();
    return true;
}
