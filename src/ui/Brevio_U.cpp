#include "Brevio_U.h"

#include "BrevioApplication.h"
#include "IntegerSyntax.h"
#include "LocaleCodec.h"
#include "MessageBoxes.h"
#include "Splitter.h"
#include "Trim.h"
#include "WidgetAdapters.h"
#include "WidgetText.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

TBrevio_F *Brevio_F = nullptr;

namespace {

const QString kProductName = QStringLiteral("Brevio");
const QString kInfoText =
    QStringLiteral("Brevio 2.0 von Lena Hoffmann und Jonas Becker von https://smsbrevio.example");

// The layout is designed for a font 7 pixels wide and 15 high on average; the
// window's own font is chosen to measure exactly that, so nothing is scaled.
constexpr int kDesignCharWidth = 7;
constexpr int kDesignCharHeight = 15;
constexpr int kDesignClientWidth = 289;
const QString kMetricsSample = QStringLiteral(
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdedfghijklmnopqrstuvwxyz abcdedfghijklmnopqrstuvwxyz "
    "abcdedfghijklmnopqrstuvwxyz abcdedfghijklmnopqrstuvwxyz 0123456789");

struct Placement
{
    QWidget *control;
    int left, top, width, height;
};

QFont pixelFont(const QString &family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    return font;
}

QString decimal(std::size_t value)
{
    return QString::number(static_cast<qulonglong>(value));
}

// A character that would be invisible between quotation marks, or would join
// them, is named by its code alone.
QString nameOfCharacter(char32_t character)
{
    const QString code =
        QStringLiteral("U+%1").arg(uint(character), 4, 16, QLatin1Char('0')).toUpper();
    const bool visible =
        QChar::isPrint(character) && !QChar::isSpace(character) && !QChar::isMark(character);
    if (!visible)
        return code;
    return QStringLiteral("„%1“ (%2)").arg(QString::fromUcs4(&character, 1), code);
}

// Which character of the upper area the locale cannot represent, and where, so
// that it can be found in a long text. Positions count like the character count.
QString unrepresentableMessage(std::u16string_view upper, std::u16string_view trimmed)
{
    const QString codeSet = QString::fromStdString(brevio::localeCodeSet());
    const std::optional<std::size_t> found = brevio::firstUnrepresentable(trimmed);
    if (!found)
        return QStringLiteral("Der Text enthält Zeichen, die in der Zeichenkodierung %1 nicht "
                              "darstellbar sind. Der Text bleibt unverändert. Abbruch!")
            .arg(codeSet);
    const std::size_t index = std::size_t(trimmed.data() - upper.data()) + *found;
    char32_t character = upper[index];
    if (QChar::isHighSurrogate(character) && index + 1 < upper.size() &&
        QChar::isLowSurrogate(upper[index + 1]))
        character = QChar::surrogateToUcs4(upper[index], upper[index + 1]);
    return QStringLiteral("Das Zeichen %1 an Stelle %2 ist in der Zeichenkodierung %3 nicht "
                          "darstellbar. Der Text bleibt unverändert. Abbruch!")
        .arg(nameOfCharacter(character), decimal(index + 1), codeSet);
}

} // namespace

TBrevio_F::TBrevio_F(QWidget *parent)
    : QWidget(parent), MM_SMS(new QuietTextArea(this)), ED_Anzahl(new QLineEdit(this)),
      BT_Loeschen(new QPushButton(QStringLiteral("Löschen"), this)),
      BT_Kopieren(new QPushButton(QStringLiteral("Kopieren"), this)),
      BT_Haexler(new QPushButton(QStringLiteral("Haexler"), this)), MM_neu(new QuietTextArea(this)),
      CB_Auswahl(new SilentComboBox(this)),
      BT_Copy(new QPushButton(QStringLiteral("Kopieren"), this)),
      ED_Anz(new QLineEdit(QStringLiteral("0"), this)),
      ED_AnzZeichen(new QuietLineEdit(QStringLiteral("120"), this)),
      BT_Info(new QPushButton(QStringLiteral("I"), this)),
      m_lowerRow{{{MM_neu, MM_neu->focusPolicy()},
                  {CB_Auswahl, CB_Auswahl->focusPolicy()},
                  {BT_Copy, BT_Copy->focusPolicy()},
                  {ED_Anz, ED_Anz->focusPolicy()}}}
{
    setObjectName(QStringLiteral("Brevio_F"));
    setWindowTitle(QStringLiteral("Brevio für Linux"));
    QIcon icon;
    for (const int size : {32, 64, 128})
        icon.addFile(QStringLiteral(":/icons/brevio-%1.png").arg(size));
    setWindowIcon(icon);
    setFont(pixelFont(QStringLiteral("Liberation Sans"), 13));
    setUpControls();
    placeControls();
    connectHandlers();
    if (auto *app = BrevioApplication::instance())
        app->setActiveForm(this);
    runGuarded(this, [this] { FormCreate(); });
}

TBrevio_F::~TBrevio_F()
{
    if (Brevio_F == this)
        Brevio_F = nullptr;
}

void TBrevio_F::setUpControls()
{
    const QFont memoFont = textAreaFont();
    for (QuietTextArea *memo : {MM_SMS, MM_neu}) {
        memo->setFont(memoFont);
        memo->setTabChangesFocus(true);
    }
    BT_Info->setFont(pixelFont(QStringLiteral("Courier New"), 11));

    // QLineEdit's default cuts at 32,767 characters; the field and its error hold any text.
    ED_AnzZeichen->setMaxLength(std::numeric_limits<int>::max());
    ED_Anzahl->setReadOnly(true);
    ED_Anz->setReadOnly(true);
    BT_Haexler->setEnabled(false);

    ED_Anzahl->setToolTip(QStringLiteral("Zeichen in SMS"));
    BT_Kopieren->setToolTip(QStringLiteral("Kopieren linkes Feld"));
    BT_Copy->setToolTip(QStringLiteral("Kopieren unteres Feld"));
    ED_Anz->setToolTip(QStringLiteral("Zeichen in SMS"));
    ED_AnzZeichen->setToolTip(QStringLiteral("Anzahl Zeichen pro SMS"));

    // What a screen reader announces: the caption or tool tip, where there is one.
    const std::array<std::pair<QWidget *, QString>, 11> names{{
        {MM_SMS, QStringLiteral("SMS-Text")},
        {ED_Anzahl, QStringLiteral("Zeichen in SMS")},
        {BT_Loeschen, QStringLiteral("Löschen")},
        {BT_Kopieren, QStringLiteral("Kopieren linkes Feld")},
        {BT_Haexler, QStringLiteral("Haexler")},
        {MM_neu, QStringLiteral("Gewählter Teil")},
        {CB_Auswahl, QStringLiteral("Teil auswählen")},
        {BT_Copy, QStringLiteral("Kopieren unteres Feld")},
        {ED_Anz, QStringLiteral("Zeichen im Teil")},
        {ED_AnzZeichen, QStringLiteral("Anzahl Zeichen pro SMS")},
        {BT_Info, QStringLiteral("Info")},
    }};
    for (const auto &[control, name] : names)
        control->setAccessibleName(name);
    // Qt describes a control by its tool tip, which is the upper count's here.
    ED_Anz->setAccessibleDescription(ED_Anz->accessibleName());
}

void TBrevio_F::placeControls()
{
    // In tab order.
    const std::array<Placement, 11> design{{
        {MM_SMS, 3, 3, 220, 110},
        {ED_Anzahl, 226, 3, 45, 23},
        {BT_Loeschen, 226, 45, 60, 20},
        {BT_Kopieren, 226, 24, 60, 20},
        {BT_Haexler, 226, 93, 60, 20},
        {MM_neu, 3, 152, 283, 104},
        {CB_Auswahl, 3, 125, 97, 23},
        {BT_Copy, 224, 125, 62, 20},
        {ED_Anz, 120, 125, 57, 23},
        {ED_AnzZeichen, 226, 72, 60, 23},
        {BT_Info, 272, 3, 14, 20},
    }};

    // On a display whose font measures differently the design is scaled to it;
    // the two window heights stay fixed.
    const QFontMetrics metrics(font());
    const int charHeight = metrics.height();
    const int charWidth = (metrics.horizontalAdvance(kMetricsSample) + 74) / 149;
    const auto scaleX = [&](int x) {
        return int(std::lround(double(x) * charWidth / kDesignCharWidth));
    };
    const auto scaleY = [&](int y) {
        return int(std::lround(double(y) * charHeight / kDesignCharHeight));
    };

    QWidget *previous = nullptr;
    for (const Placement &p : design) {
        p.control->setGeometry(scaleX(p.left), scaleY(p.top), scaleX(p.width), scaleY(p.height));
        if (previous)
            setTabOrder(previous, p.control);
        previous = p.control;
    }
    move(386, 132);
    setFixedSize(scaleX(kDesignClientWidth), kExpandedHeight);
}

void TBrevio_F::connectHandlers()
{
    const auto on = [this](auto *sender, auto signal, void (TBrevio_F::*handler)()) {
        connect(sender, signal, this,
                [this, sender, handler] { runGuarded(sender, [&] { (this->*handler)(); }); });
    };
    on(MM_SMS, &QuietTextArea::changed, &TBrevio_F::MM_SMSChange);
    on(ED_AnzZeichen, &QuietLineEdit::changed, &TBrevio_F::ED_AnzZeichenChange);
    on(BT_Haexler, &QPushButton::clicked, &TBrevio_F::BT_HaexlerClick);
    on(CB_Auswahl, &SilentComboBox::fieldChanged, &TBrevio_F::CB_AuswahlChange);
    on(MM_neu, &QuietTextArea::changed, &TBrevio_F::MM_NeuChange);
    on(BT_Loeschen, &QPushButton::clicked, &TBrevio_F::BT_LoeschenClick);
    on(BT_Kopieren, &QPushButton::clicked, &TBrevio_F::BT_KopierenClick);
    on(BT_Copy, &QPushButton::clicked, &TBrevio_F::BT_CopyClick);
    on(BT_Info, &QPushButton::clicked, &TBrevio_F::BT_InfoClick);
}

// The only place that knows the two heights. A fixed size also keeps the window
// manager from revealing the parts row of the compact window.
void TBrevio_F::makeCompact()
{
    setFixedHeight(kCompactHeight);
    setLowerRowReachable(false);
}

void TBrevio_F::makeExpanded()
{
    setFixedHeight(kExpandedHeight);
    setLowerRowReachable(true);
}

// Keys go only where the user can see: the compact window's hidden row takes no
// focus, and hands the focus it holds (a drop into the upper area folds the
// window under it) to the upper area. Names, places and roles stay as they are.
void TBrevio_F::setLowerRowReachable(bool reachable)
{
    for (const auto &[control, policy] : m_lowerRow)
        control->setFocusPolicy(reachable ? policy : Qt::NoFocus);
    if (reachable)
        return;
    const QWidget *focused = focusWidget();
    if (!focused)
        return;
    for (const auto &[control, policy] : m_lowerRow) {
        if (control == focused || control->isAncestorOf(focused)) {
            MM_SMS->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

// Neither maximized nor full screen, which would show the compact window's
// hidden parts row at neither of its heights. The fixed size tells the window
// system that the window cannot be maximized, but a decoration's double click
// or button, the compositor or a script can still ask for either state; the
// window leaves it at once.
void TBrevio_F::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    constexpr Qt::WindowStates kScreenFilling = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (event->type() == QEvent::WindowStateChange && (windowState() & kScreenFilling))
        setWindowState(windowState() & ~kScreenFilling);
}

void TBrevio_F::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Qt 6.8's Wayland plugin takes any size the compositor configures, past the
    // window's maximum (seen with 6.8.2, not 6.4.2; no bug report found); can go
    // once it keeps a window within its minimum and maximum size again. Not on
    // X11, where a window manager that insists on its size would answer each
    // request with the same refusal.
    if (event->size() != minimumSize() && BrevioApplication::onWayland())
        resize(minimumSize());
}

void TBrevio_F::closeEvent(QCloseEvent *event)
{
    if (auto *app = BrevioApplication::instance())
        app->terminate();
    // Where the process ends right after the loop, the window stays shown until
    // then. Hidden, it would lose its surface first, and GNOME's mutter answers
    // that with a text-input leave for the destroyed surface, which Qt 6.8 reports
    // on the terminal when it reads it before the end.
    event->setAccepted(!BrevioApplication::endsWithoutTeardown());
}

void TBrevio_F::FormCreate()
{
    ED_Anzahl->setText(QStringLiteral("0"));
    N = brevio::strToInt(localeText(ED_AnzZeichen->text()));
    makeCompact();
}

void TBrevio_F::MM_SMSChange()
{
    const std::size_t count = MM_SMS->characterCount();
    ED_Anzahl->setText(decimal(count));
    BT_Haexler->setEnabled(std::int64_t(count) > N);
    auto *app = BrevioApplication::instance();
    if (MM_SMS->isEmpty())
        app->setTitle(kProductName);
    else
        app->setTitleFollowing(MM_SMS);
    makeCompact();
}

void TBrevio_F::ED_AnzZeichenChange()
{
    // Setting the field re-enters this handler, which then finds a valid number.
    brevio::RepairPass pass;
    do {
        const QString field = ED_AnzZeichen->text();
        pass = brevio::repairCharactersPerMessage(brevio::toLocale(brevio::trimmed(utf16(field))));
        ED_AnzZeichen->setText(widgetText(pass.repaired));
    } while (pass.offendingPosition != 0);

    N = brevio::strToInt(localeText(ED_AnzZeichen->text()));
    // Never disables: after N is raised the button waits for the next edit.
    if (brevio::strToInt(localeText(ED_Anzahl->text())) > N)
        BT_Haexler->setEnabled(true);
}

void TBrevio_F::BT_HaexlerClick()
{
    const QString upper = MM_SMS->text();
    const std::u16string_view text = brevio::trimmed(utf16(upper));
    const std::string working = brevio::toLocale(text);
    if (working.empty() && !text.empty()) {
        ShowPlainBox(unrepresentableMessage(utf16(upper), text));
        return;
    }
    // Trimmed again as locale text: some encodings put letters on bytes below 33
    // (Vietnamese TCVN5712-1 has "Ú" at 0x01), and such a text yields no part.
    if (brevio::trimmed(working).empty()) {
        ShowPlainBox(QStringLiteral("Nichts zu teilen: Der Text besteht nur aus Leer- und "
                                    "Steuerzeichen!"));
        return;
    }

    brevio::SplitResult split = brevio::splitIntoParts(working, N);
    if (split.outcome == brevio::SplitResult::Outcome::WordTooLong) {
        ShowPlainBox(QStringLiteral(
            "Mind. ein Wort ist laenger als die SMS-Laenge plus \"x/y \"! Abbruch!"));
        return;
    }
    // Replaced only now: a failed split leaves the previous parts and entries in step.
    m_parts = std::move(split.parts);

    const QString count = decimal(m_parts.size());
    QStringList entries;
    entries.reserve(qsizetype(m_parts.size()));
    for (std::size_t i = 1; i <= m_parts.size(); ++i)
        entries.append(decimal(i) + u'/' + count);
    CB_Auswahl->replaceEntries(entries);
    CB_Auswahl->selectEntry(0);

    MM_neu->setText(QString());
    MM_neu->setText(widgetText(m_parts.front()));
    makeExpanded();
    // What a sighted user sees as the window grows.
    Announce(this, m_parts.size() == 1 ? QStringLiteral("Text ergibt einen Teil.")
                                       : QStringLiteral("Text in %1 Teile geteilt.").arg(count));
}

void TBrevio_F::CB_AuswahlChange()
{
    const int index = CB_Auswahl->currentIndex();
    // Typing into the field before any split names no part.
    if (index < 0 || std::size_t(index) >= m_parts.size())
        return;
    MM_neu->setText(QString());
    MM_neu->setText(widgetText(m_parts[std::size_t(index)]));
    makeExpanded();
}

void TBrevio_F::MM_NeuChange()
{
    ED_Anz->setText(decimal(MM_neu->characterCount()));
    BrevioApplication::instance()->setTitle(kProductName);
}

void TBrevio_F::BT_LoeschenClick()
{
    MM_SMS->eraseUndoably();
    MM_SMS->activateWindow();
    MM_SMS->setFocus(Qt::OtherFocusReason);
}

void TBrevio_F::BT_KopierenClick()
{
    MM_SMS->copyAll();
}

void TBrevio_F::BT_CopyClick()
{
    MM_neu->copyAll();
}

void TBrevio_F::BT_InfoClick()
{
    ShowPlainBox(kInfoText);
}
