#include "BrevioApplication.h"

#include <QFileInfo>
#include <QWidget>

BrevioApplication::BrevioApplication(int &argc, char **argv)
    : QApplication(argc, argv),
      m_title(QFileInfo(QString::fromLocal8Bit(argc > 0 ? argv[0] : "")).completeBaseName())
{}

BrevioApplication::~BrevioApplication() = default;

BrevioApplication *BrevioApplication::instance()
{
    return qobject_cast<BrevioApplication *>(QCoreApplication::instance());
}

void BrevioApplication::setTitle(const QString &title)
{
    if (title != m_title)
        m_title = title;
}

void BrevioApplication::terminate()
{
    m_terminating = true;
    quit();
}

QWidget *BrevioApplication::hiddenOwner()
{
    if (!m_hiddenOwner)
        m_hiddenOwner = std::make_unique<QWidget>();
    return m_hiddenOwner.get();
}
