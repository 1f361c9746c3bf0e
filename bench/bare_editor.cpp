// The baseline of the window benchmark: a plain QPlainTextEdit where the program
// has its upper text area, in a window of the same client size, so that both get
// the same X traffic and what differs is the program's own work.

#include <QApplication>
#include <QFont>
#include <QPlainTextEdit>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare QPlainTextEdit"));
    window.setFixedSize(289, 120);

    // Owned by the window.
    auto *editor = new QPlainTextEdit(&window);
    editor->setGeometry(3, 3, 220, 110);
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(13);
    editor->setFont(font);
    editor->setFocus();

    window.show();
    return QApplication::exec();
}
