#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

// A file-open dialog that keeps its filter in "description|pattern|..." form and
// remembers the file chosen last, so the next run starts from it.
class OpenDialog : public QObject
{
    Q_OBJECT
public:
    OpenDialog(const QString &filter, QWidget *owner);

    const QString &filter() const { return m_filter; }
    const QString &fileName() const { return m_fileName; }

    // Shows the dialog modally; true with fileName() set when a file was chosen.
    bool Execute();

    // Tests answer the dialog here instead of a person: the hook gets the dialog,
    // may choose a file with choose(), and returns whether the dialog was accepted.
    using Hook = std::function<bool(OpenDialog &)>;
    static void setTestHook(Hook hook);
    void choose(const QString &fileName) { m_fileName = fileName; }

private:
    QString m_filter;
    QString m_fileName;
    QWidget *m_owner;
};
