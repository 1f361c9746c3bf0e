#include "MessageBoxes.h"

#include "BrevioApplication.h"
#include "Exception.h"
#include "WidgetAdapters.h"
#include "WidgetText.h"
#include "WindowCaption.h"

#include <QAccessible>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <cwchar>
#include <utility>

namespace {

bool isTerminating()
{
    const auto *app = BrevioApplication::instance();
    return app && app->isTerminating();
}

QWidget *formWithNativeWindow()
{
    auto *app = BrevioApplication::instance();
    if (!app)
        return nullptr;
    QWidget *form = app->activeForm();
    if (form && form->testAttribute(Qt::WA_WState_Created))
        return form;
    return app->hiddenOwner();
}

// The most of a caption that the platform takes as it is. Qt's Wayland plugin
// would cut a longer one itself, warning on the terminal each time.
std::size_t captionLimit()
{
    return QGuiApplication::platformName().startsWith(u"wayland") ? brevio::kWaylandCaptionLimit
                                                                  : brevio::kCaptionLimit;
}

// Always plain, so that a user's text in a message is never read as markup.
// QMessageBox itself switches its label to word wrap once a line is too wide.
// Selectable, so that an address or an error can be copied from the box.
void setPlainText(QMessageBox &box, const QString &text)
{
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

// Up to this many UTF-16 units the box shows its text in its own label. Qt sizes
// a word-wrapped label by laying its text out several times, seconds for a
// megabyte; a longer text would not fit on the screen anyway.
constexpr qsizetype kLabelTextLimit = 10000;

// A read-only view of a long text that takes the text only once it is shown:
// Qt lays a text out again when its view gets its final size, a quarter of a
// second for each megabyte.
class LongTextView : public QuietTextArea
{
public:
    LongTextView(QString text, QWidget *parent) : QuietTextArea(parent), m_text(std::move(text))
    {
        setReadOnly(true);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        // A scroll bar that came with the text would narrow the view and lay it out again.
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        setFixedSize(480, 320);
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        QuietTextArea::showEvent(event);
        if (!m_text.isNull())
            setText(std::exchange(m_text, QString()));
    }

private:
    QString m_text;
};

// Shows a long text in a scrolling view in the label's place. The label keeps
// the text, hidden, so the box's text stays the whole text.
void scrollLongText(QMessageBox &box)
{
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!label || !grid || label->text().size() <= kLabelTextLimit)
        return;
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
    auto *view = new LongTextView(label->text(), &box);
    // The user's text as the text areas show it; also laid out faster than the
    // proportional font of the label.
    view->setFont(textAreaFont());
    view->setAccessibleName(QStringLiteral("Meldung"));
    label->hide();
    grid->addWidget(view, row, column, rows, columns);
}

} // namespace

void ShowErrorBox(const QString &text)
{
    if (isTerminating())
        return;
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    if (QWidget *grabber = QWidget::keyboardGrabber())
        grabber->releaseKeyboard();

    QMessageBox box(formWithNativeWindow());
    box.setWindowTitle(QString());
    box.setIcon(QMessageBox::Critical);
    setPlainText(box, text);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    scrollLongText(box);
    box.exec();
}

void ShowPlainBox(const QString &text)
{
    if (isTerminating())
        return;
    QWidget *owner = QApplication::activeWindow();
    if (!owner)
        owner = formWithNativeWindow();

    QMessageBox box(owner);
    if (const auto *app = BrevioApplication::instance()) {
        const QString &title = app->title();
        const std::size_t length = brevio::windowCaption(utf16(title), captionLimit()).size();
        box.setWindowTitle(title.left(qsizetype(length)));
    }
    box.setIcon(QMessageBox::NoIcon);
    setPlainText(box, text);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    scrollLongText(box);

    const QPointer<QWidget> mouseHolder = QWidget::mouseGrabber();
    if (mouseHolder)
        mouseHolder->releaseMouse();
    box.exec();
    if (mouseHolder)
        mouseHolder->grabMouse();
    if (owner)
        owner->activateWindow();
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
namespace {

// Qt has no announcement before 6.8, and Qt 6.4 tells of a changed description
// without the new text, which is what Orca 43 would speak. Orca does read a
// notification as it is shown, so the message becomes one: an accessible object
// of the window named by the message, with no widget behind it, so that nothing
// is drawn.
// Needed on Qt 6.4.2 (announcements came with 6.8, no QTBUG); remove once the oldest Qt is 6.8.
class SpokenNotification : public QAccessibleInterface
{
public:
    SpokenNotification(QWidget *window, QString text) : m_window(window), m_text(std::move(text)) {}

    bool isValid() const override { return m_window; }
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_window);
    }
    QAccessibleInterface *child(int /*index*/) const override { return nullptr; }
    QAccessibleInterface *childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface * /*child*/) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? m_text : QString();
    }
    void setText(QAccessible::Text /*t*/, const QString & /*text*/) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }

private:
    QPointer<QWidget> m_window;
    QString m_text;
};

// The window's last notification, kept until the next one or the window's end
// so that a screen reader can still read it.
class LastNotification : public QObject
{
public:
    ~LastNotification() override { replace(0); }

    static LastNotification *of(QWidget *window)
    {
        for (QObject *child : window->children()) {
            if (auto *last = dynamic_cast<LastNotification *>(child))
                return last;
        }
        return new LastNotification(window);
    }

    void replace(QAccessible::Id id)
    {
        if (m_id != 0)
            QAccessible::deleteAccessibleInterface(m_id);
        m_id = id;
    }

private:
    using QObject::QObject;

    QAccessible::Id m_id = 0;
};

} // namespace
#endif

void Announce(QWidget *window, const QString &text)
{
    if (isTerminating())
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Told about the control that holds the focus, which a screen reader follows.
    QWidget *focused = window->focusWidget();
    QAccessibleAnnouncementEvent announcement(focused ? focused : window, text);
    QAccessible::updateAccessibility(&announcement);
#else
    auto *notification = new SpokenNotification(window, text);
    LastNotification::of(window)->replace(QAccessible::registerAccessibleInterface(notification));
    QAccessibleEvent shown(notification, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
#endif
}

std::string withFullStop(std::string message)
{
    if (message.empty())
        return message;
    // Walk the characters to find where the last one starts: its last byte alone
    // would misread a multi-byte letter.
    std::mbstate_t state{};
    std::size_t lastStart = 0;
    for (std::size_t at = 0; at < message.size();) {
        lastStart = at;
        const std::size_t length = std::mbrlen(message.data() + at, message.size() - at, &state);
        if (length == 0 || length > message.size() - at) {
            state = {};
            ++at;
        } else {
            at += length;
        }
    }
    const bool singleByte = lastStart + 1 == message.size();
    const auto lastCode = static_cast<unsigned char>(message[lastStart]);
    if (!singleByte || lastCode > '.')
        message += '.';
    return message;
}

void ReportFailure(QObject * /*sender*/, const brevio::Exception &failure)
{
    ShowErrorBox(widgetText(withFullStop(failure.message())));
}

void reportEscapedFailure(QObject *sender, const std::exception_ptr &failure) noexcept
{
    try {
        try {
            std::rethrow_exception(failure);
        } catch (const brevio::Exception &exception) {
            ReportFailure(sender, exception);
        } catch (const std::exception &exception) {
            ReportFailure(sender, brevio::Exception(exception.what()));
        } catch (...) {
            ReportFailure(sender, brevio::Exception("Unbekannter Fehler"));
        }
    } catch (...) {
        // Reporting itself failed (no memory for the box): drop it rather than
        // let it unwind into Qt's event loop.
    }
}
