// The window under the offscreen platform (no window frame): what the
// widgets show after start-up and after each button, their geometry in
// twips, clicks queued while a command runs, and awkward clipboards.
#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QScopeGuard>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QMimeData>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTableWidget>
#include <QAccessible>
#include <QTextBrowser>
#include <QDialog>
#include <QElapsedTimer>
#include <QScrollBar>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "platform/platform.h"
#include "ui/main_window.h"
#include "ui/references_dialog.h"

// Allocations above a size can be made to fail, to see the window survive
// memory running out in the middle of a command. Not under AddressSanitizer,
// whose own operator new variants would meet this operator delete.
#if defined(__SANITIZE_ADDRESS__)
#define TF_REPLACED_NEW 0
#else
#define TF_REPLACED_NEW 1
#endif
namespace {
// Allocations above this size fail once g_bigAllocationsAllowed more of them
// have been made; 0 turns it off.
std::atomic<size_t> g_failAllocationsAbove{0};
std::atomic<int> g_bigAllocationsAllowed{0};
}  // namespace

#if TF_REPLACED_NEW
void* operator new(size_t size) {
  const size_t limit = g_failAllocationsAbove.load(std::memory_order_relaxed);
  if (limit != 0 && size > limit && g_bigAllocationsAllowed.fetch_sub(1) <= 0) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
#endif

namespace tf {
namespace {

namespace pf = tf::platform;
using ui::Control;
using ui::Command;
using ui::MainWindow;

void SetClipboard(const std::u16string& text) { pf::SetClipboardText(text); }
std::u16string Clipboard() { return pf::ClipboardText(); }

// Runs `f` while the next command runs off the GUI thread, as a user's
// clicks made meanwhile would arrive.
template <typename F>
void DuringNextCommand(QObject* context, F f) {
  QMetaObject::invokeMethod(context, f, Qt::QueuedConnection);
}

// Lets the window work until every command asked for has run (or a minute
// has passed: a test then fails on what it finds).
void WaitUntilIdle(const MainWindow& w) {
  QElapsedTimer clock;
  clock.start();
  while (!w.Idle() && clock.elapsed() < 60'000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  QCoreApplication::processEvents();
}

// A click, as a user makes it while a command may be running.
void Press(MainWindow& w, Command c) { w.ButtonFor(c)->click(); }
// A click, and what it does done.
void Click(MainWindow& w, Command c) {
  Press(w, c);
  WaitUntilIdle(w);
}
void Trigger(MainWindow& w, Command c) {
  w.ActionFor(c)->trigger();
  WaitUntilIdle(w);
}
void StartUp(MainWindow& w) {
  w.StartUp();
  WaitUntilIdle(w);
}

// A page of a bibliography, as a PDF viewer copies it.
const std::u16string kScreenshotList =
    u"References\n"
    u"Bertani, R., 2016. Geothermal power generation in the world 2010\u20132014 update report. Geothermics 60, 31\u201343.\n"
    u"Grant, M.A., Bixley, P.F., 2011. Geothermal Reservoir Engineering, 2nd ed. Academic Press, Burlington.\n"
    u"Kennedy, B.M., van Soest, M.C., 2007. Flow of mantle fluids through the ductile lower crust: helium isotope "
    u"trends. Science 318, 1433\u20131436.\n"
    u"Pruess, K., 1991. TOUGH2: A general-purpose numerical simulator for multiphase fluid and heat flow. Report "
    u"LBL-29400, Lawrence Berkeley Laboratory, Berkeley, CA.\n"
    u"Rowland, J.V., Sibson, R.H., 2004. Structural controls on hydrothermal flow in a segmented rift system, Taupo "
    u"Volcanic Zone, New Zealand. Geofluids 4, 259\u2013283.\n"
    u"12\n";

// Three references as copied from a PDF: a heading, numbers, wrapped lines,
// a hyphenated line end.
const std::u16string kList =
    u"References\n1. Grant, M.A. and Bixley, P.F., 2011. Geothermal reservoir\nengineering. Academic Press, Burlington.\n"
    u"2. Smith, J.R., 2009. Fluid flow in frac-\ntured rock. Geothermics 38, 1-12.\n"
    u"3. Kennedy, B.M., van Soest, M.C., 2007. Flow of mantle fluids through the ductile lower crust. Science 318, "
    u"1433-1436.";

// `times` copies of `unit`.
std::u16string Repeat(std::u16string_view unit, size_t times) {
  std::u16string out;
  out.reserve(unit.size() * times);
  for (size_t i = 0; i < times; ++i) out += unit;
  return out;
}

// Reads the first modal message box that comes up and closes it, as a user
// pressing OK would.
class ModalBoxReader final {
 public:
  ModalBoxReader() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        m_text = box->text();
        box->accept();
        m_timer.stop();
      }
    });
    m_timer.start(20);
  }
  const QString& Text() const { return m_text; }

 private:
  QTimer m_timer;
  QString m_text;
};

const ui::WindowOptions kBuiltInWords{{false, {}}, std::nullopt};

}  // namespace

class WindowTest final : public QObject {
  Q_OBJECT

 private slots:
  // No word list or setting from the user's own configuration; put back
  // afterwards.
  void initTestCase() {
    for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
      m_savedEnv.emplace_back(name, qgetenv(name));
      qputenv(name, "/nonexistent");
    }
  }
  void cleanupTestCase() {
    for (const auto& [name, value] : m_savedEnv) {
      if (value.isNull()) qunsetenv(name);
      else qputenv(name, value);
    }
  }

  void startUp() {
    const std::u16string raw = u"the geology of\r\n\tnew zealand; smith, j.r.";
    SetClipboard(raw);
    MainWindow w(kBuiltInWords);
    StartUp(w);
    QCOMPARE(w.windowTitle(), QStringLiteral("Quorvel's Title Fixer Program"));
    QVERIFY(w.RawText()->Caption() == raw);
    QVERIFY(w.WorkingText()->Text() == u"The Geology of New Zealand; Smith, J.r.");
    // The lower part holds the split at once, in classic mode too.
    QVERIFY(w.AuthorsText()->Text() == u"Smith, J.R.");
    QVERIFY(w.TitleText()->Text() == u"The Geology of New Zealand");
    QVERIFY(w.isVisible() && w.RawText()->isVisible());
    for (QWidget* hidden : {static_cast<QWidget*>(w.AuthorsText()), static_cast<QWidget*>(w.TitleText()),
                            static_cast<QWidget*>(w.ButtonFor(Command::CopyAuthors)),
                            static_cast<QWidget*>(w.ButtonFor(Command::CopyTitle))})
      QVERIFY(!hidden->isVisible());
    QVERIFY(!w.MoreShown());
    // The form's compact height, and the menu bar above it.
    QVERIFY(w.BarsHeight() > 0);
    QCOMPARE(pf::WindowHeight(&w), 4476.0 + w.BarsHeight());
    const double left = std::abs(pf::ScreenWidth() / 2 - pf::WindowWidth(&w) / 2);
    const double top = std::abs(pf::ScreenHeight() / 2 - (4476.0 + w.BarsHeight()) / 2);
    QCOMPARE(w.frameGeometry().x(), qRound(pf::TwipsToPixelsX(left)));
    QCOMPARE(w.frameGeometry().y(), qRound(pf::TwipsToPixelsY(top)));
    for (QWidget* text : {static_cast<QWidget*>(w.RawText()), static_cast<QWidget*>(w.WorkingText()),
                          static_cast<QWidget*>(w.AuthorsText()), static_cast<QWidget*>(w.TitleText())})
      QCOMPARE(text->font().pointSizeF(), 12.0);
    QCOMPARE(w.ButtonFor(Command::Copy)->font().pointSizeF(), QApplication::font().pointSizeF());
    QCOMPARE(w.Words().ClassicWords().NumWords(), size_t{268});
  }

  void layout() {
    SetClipboard(u"x");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    struct Row {
      const char* name;
      QWidget* control;
      double left, top, width, height;
      QString caption;
    };
    const QList<Row> rows = {
        {"raw text", w.RawTextArea(), 120, 120, 7812, 1212, "x"},
        {"working text", w.WorkingText(), 120, 1440, 8052, 1572, "X"},
        {"copy", w.ButtonFor(Command::Copy), 120, 3120, 1932, 492, "Copy to Clipboard"},
        {"refresh", w.ButtonFor(Command::Refresh), 2160, 3120, 1932, 492, "Refresh from Clipboard"},
        {"join", w.ButtonFor(Command::JoinLines), 4200, 3120, 1932, 492, "Just strip Line Breaks"},
        {"quit", w.ButtonFor(Command::Quit), 6240, 3120, 1932, 492, "Quit"},
        {"authors", w.AuthorsText(), 120, 3720, 6252, 1212, "X"},
        {"title", w.TitleText(), 120, 5040, 6252, 1212, ""},
        {"copy authors", w.ButtonFor(Command::CopyAuthors), 6480, 4080, 1692, 612, "Copy Authors to Clipboard"},
        {"copy title", w.ButtonFor(Command::CopyTitle), 6480, 5280, 1692, 612, "Copy Title to Clipboard"},
        {"more", w.ButtonFor(Command::MoreLess), 7440, 3720, 732, 252, "More"},
        {"squish", w.ButtonFor(Command::Squish), 6480, 3720, 732, 252, "Squish"},
        {"2", w.ButtonFor(Command::JoinParagraphs), 5880, 3480, 372, 252, "2"},
    };
    for (const Row& r : rows) {
      // Relative to the form below the menu bar, as the form was designed.
      QVERIFY2(pf::Left(r.control) == r.left, r.name);
      QVERIFY2(pf::Top(r.control) == r.top, r.name);
      QVERIFY2(pf::Width(r.control) == r.width, r.name);
      QVERIFY2(pf::Height(r.control) == r.height, r.name);
      QString caption;
      if (auto* l = dynamic_cast<pf::ScrollingLabel*>(r.control)) caption = pf::ToQString(l->label()->Caption());
      if (auto* t = dynamic_cast<pf::TextBox*>(r.control)) caption = pf::ToQString(t->Text());
      if (auto* b = dynamic_cast<pf::Button*>(r.control)) caption = b->Caption();
      QVERIFY2(caption == r.caption, r.name);
    }
    // Tab order as the controls stand on the screen, row by row, left to
    // right.
    const QList<QWidget*> expected = {
        w.RawTextArea(), w.WorkingText(), w.ButtonFor(Command::Copy), w.ButtonFor(Command::Refresh),
        w.ButtonFor(Command::JoinLines), w.ButtonFor(Command::Quit), w.ButtonFor(Command::JoinParagraphs),
        w.AuthorsText(), w.ButtonFor(Command::Squish), w.ButtonFor(Command::MoreLess),
        w.ButtonFor(Command::CopyAuthors), w.TitleText(), w.ButtonFor(Command::CopyTitle)};
    QList<QWidget*> chain;
    for (QWidget* x = w.nextInFocusChain(); x != &w; x = x->nextInFocusChain())
      if (expected.contains(x)) chain << x;
    QCOMPARE(chain, expected);
  }

  void moreAndLess() {
    SetClipboard(u"x");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    const QPoint topLeft = w.frameGeometry().topLeft();
    Click(w, Command::MoreLess);
    QVERIFY(w.MoreShown());
    QCOMPARE(pf::WindowHeight(&w), 6756.0 + w.BarsHeight());
    QCOMPARE(w.ButtonFor(Command::MoreLess)->Caption(), QStringLiteral("Less"));
    QVERIFY(w.AuthorsText()->isVisible() && w.ButtonFor(Command::CopyTitle)->isVisible());
    QCOMPARE(w.frameGeometry().topLeft(), topLeft);
    Click(w, Command::MoreLess);
    QVERIFY(!w.MoreShown());
    QCOMPARE(pf::WindowHeight(&w), 4476.0 + w.BarsHeight());
    QCOMPARE(w.ButtonFor(Command::MoreLess)->Caption(), QStringLiteral("More"));
    QVERIFY(!w.AuthorsText()->isVisible() && !w.ButtonFor(Command::CopyTitle)->isVisible());
    QCOMPARE(w.frameGeometry().topLeft(), topLeft);
  }

  // The design stretched to a larger form, or scaled for a larger font.
  void placesStretchAndScale() {
    struct Row {
      const char* name;
      Control control;
      double scale;
      tf::ui::FormSize size;
      bool more;
      tf::ui::Rect expected;
    };
    const Row rows[] = {
        {"as designed", Control::WorkingText, 1, {8256, 4476}, false, {120, 1440, 8052, 1572}},
        {"a taller compact form gives the working text all", Control::WorkingText, 1, {8256, 5476}, false,
         {120, 1440, 8052, 2572}},
        {"buttons below it move down, their height kept", Control::Copy, 1, {8256, 5476}, false,
         {120, 4120, 1932, 492}},
        {"the clipboard text keeps its height", Control::RawText, 1, {8256, 5476}, false, {120, 120, 7812, 1212}},
        {"expanded: half to the working text", Control::WorkingText, 1, {8256, 7756}, true,
         {120, 1440, 8052, 2072}},
        {"expanded: a quarter to the authors", Control::AuthorsText, 1, {8256, 7756}, true,
         {120, 4220, 6252, 1462}},
        {"expanded: a quarter to the title, below both", Control::TitleText, 1, {8256, 7756}, true,
         {120, 5790, 6252, 1462}},
        {"copy title moves with the title", Control::CopyTitle, 1, {8256, 7756}, true, {6480, 6030, 1692, 612}},
        {"a wider form: in proportion", Control::Quit, 1, {16512, 4476}, false, {12480, 3120, 3864, 492}},
        {"scale 1.5 at its smallest", Control::Squish, 1.5, {12384, 6714}, false, {9720, 5580, 1098, 378}},
        {"smaller than the smallest is the smallest", Control::MoreLess, 1, {4000, 3000}, false,
         {7440, 3720, 732, 252}},
    };
    for (const Row& r : rows) {
      const tf::ui::Rect got = tf::ui::Place(r.control, r.scale, r.size, r.more);
      QVERIFY2(got == r.expected, qPrintable(QStringLiteral("%1: %2 %3 %4 %5")
                                                 .arg(QLatin1String(r.name))
                                                 .arg(got.left)
                                                 .arg(got.top)
                                                 .arg(got.width)
                                                 .arg(got.height)));
    }
  }

  // At a larger desktop font every caption fits its button, and the window
  // grows to hold them.
  void largerFontsClipNoCaption() {
    const QFont saved = QApplication::font();
    const auto restore = qScopeGuard([&saved] { QApplication::setFont(saved); });
    SetClipboard(u"x");
    int defaultWidth = 0;
    {
      MainWindow w(kBuiltInWords);
      StartUp(w);
      defaultWidth = w.width();
    }
    for (const double points : {11.0, 14.0, 20.0}) {
      QFont font = saved;
      font.setPointSizeF(points);
      QApplication::setFont(font);
      MainWindow w(kBuiltInWords);
      StartUp(w);
      Click(w, Command::MoreLess);  // every button shown
      QApplication::processEvents();
      for (int c = 0; c <= static_cast<int>(Command::JoinParagraphs); ++c) {
        const pf::Button* b = w.ButtonFor(static_cast<Command>(c));
        QVERIFY2(b->CaptionFits(b->size()), qPrintable(QStringLiteral("%1 pt: %2").arg(points).arg(b->Caption())));
        // Inside the form.
        QVERIFY2(b->parentWidget()->rect().contains(b->geometry()), qPrintable(b->Caption()));
      }
      if (points >= 14) QVERIFY(w.width() > defaultWidth);
    }
    // The font changed while the window is up: it grows once it has taken it.
    QApplication::setFont(saved);
    MainWindow w(kBuiltInWords);
    StartUp(w);
    const int before = w.height();
    QFont font = saved;
    font.setPointSizeF(20);
    QApplication::setFont(font);
    QTRY_VERIFY(w.height() > before);
    QVERIFY(w.ButtonFor(Command::Squish)->CaptionFits(w.ButtonFor(Command::Squish)->size()));
  }

  // A larger window gives the text boxes the room; the lower part shown
  // and hidden keeps it, and the heights are the same every time.
  void resizingGivesTheTextsTheRoom() {
    SetClipboard(u"x");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    const QRect working = w.WorkingText()->geometry();
    const QRect copy = w.ButtonFor(Command::Copy)->geometry();
    const QSize compact = w.size();
    w.resize(compact + QSize(200, 150));
    QTRY_COMPARE(w.WorkingText()->height(), working.height() + 150);
    QCOMPARE(w.ButtonFor(Command::Copy)->height(), copy.height());
    QCOMPARE(w.ButtonFor(Command::Copy)->y(), copy.y() + 150);
    QVERIFY(w.WorkingText()->width() > working.width());
    Click(w, Command::MoreLess);
    QApplication::processEvents();
    const QSize expanded = w.size();
    QVERIFY(expanded.height() > compact.height() + 150);
    Click(w, Command::MoreLess);
    QApplication::processEvents();
    QCOMPARE(w.size(), compact + QSize(200, 150));
    for (int round = 0; round < 2; ++round) {
      Click(w, Command::MoreLess);
      QApplication::processEvents();
      QCOMPARE(w.size(), expanded);
      Click(w, Command::MoreLess);
      QApplication::processEvents();
      QCOMPARE(w.size(), compact + QSize(200, 150));
    }
    // The window cannot be made so small that a control is cut off.
    w.resize(10, 10);
    QApplication::processEvents();
    for (int c = 0; c <= static_cast<int>(Command::JoinParagraphs); ++c) {
      const pf::Button* b = w.ButtonFor(static_cast<Command>(c));
      if (b->isVisible()) QVERIFY2(b->parentWidget()->rect().contains(b->geometry()), qPrintable(b->Caption()));
    }
  }

  // A long clipboard text shows whole lines and scrolls.
  void clipboardTextScrolls() {
    std::u16string lines;
    for (int i = 0; i < 30; ++i) lines += u"line " + std::u16string(1, char16_t(u'a' + i % 26)) + u"\n";
    SetClipboard(lines);
    MainWindow w(kBuiltInWords);
    StartUp(w);
    QApplication::processEvents();
    pf::ScrollingLabel* area = w.RawTextArea();
    QVERIFY(area->verticalScrollBar()->maximum() > 0);
    const int line = QFontMetrics(w.RawText()->font()).lineSpacing();
    QCOMPARE(area->viewport()->height() % line, 0);
    QVERIFY(area->viewport()->height() >= 3 * line);
    // The arrow keys scroll it once it has the focus, a line at a time.
    area->setFocus();
    QTest::keyClick(area, Qt::Key_Down);
    QCOMPARE(area->verticalScrollBar()->value(), line);
  }

  void buttons() {
    SetClipboard(u"start");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    // Before any refresh the lower part's copy buttons copy the start-up
    // split: no placeholder ever reaches the clipboard.
    Click(w, Command::CopyAuthors);
    QVERIFY(Clipboard() == u"Start");
    SetClipboard(u"the user's own");
    Click(w, Command::CopyTitle);  // an empty title copies nothing
    QVERIFY(Clipboard() == u"the user's own");

    const std::u16string reference = u"a study of\r\nheat flow; smith, j.r.";
    SetClipboard(reference);
    Click(w, Command::Refresh);  // written even while the lower part is hidden
    QVERIFY(w.RawText()->Caption() == reference);
    QVERIFY(w.WorkingText()->Text() == u"A Study of Heat Flow; Smith, J.r.");
    QVERIFY(w.AuthorsText()->Text() == u"Smith, J.R.");
    QVERIFY(w.TitleText()->Text() == u"A Study of Heat Flow");

    // The user's edits are what the copy buttons and Squish work on.
    w.AuthorsText()->setFocus();
    w.AuthorsText()->moveCursor(QTextCursor::End);
    QTest::keyClicks(w.AuthorsText(), " et al.");
    Click(w, Command::CopyAuthors);
    QVERIFY(Clipboard() == u"Smith, J.R. et al.");

    SetClipboard(u"x h e a t e d\r\n\r\ny , z");
    Click(w, Command::JoinParagraphs);
    QVERIFY(w.RawText()->Caption() == u"x h e a t e d\r\n\r\ny , z");
    QVERIFY(w.WorkingText()->Text() == u"x heat e d\r\ry, z");
    Click(w, Command::Copy);
    QVERIFY(Clipboard() == u"x heat e d\r\ry, z");  // CR CR exactly, on the clipboard too
    QVERIFY(w.AuthorsText()->Text() == u"Smith, J.R. et al.");  // joining leaves the parts
    SetClipboard(u"x h e a t e d\r\n\r\ny , z");
    Click(w, Command::JoinLines);
    QVERIFY(w.WorkingText()->Text() == u"x heated y, z");

    w.WorkingText()->setFocus();
    w.WorkingText()->moveCursor(QTextCursor::End);
    QTest::keyClicks(w.WorkingText(), " s t u d y ok  ");
    Click(w, Command::Squish);
    QVERIFY(w.WorkingText()->Text() == u"x heated y, z study ok");
  }

  void textBoxesGiveBackExactlyTheirText() {
    pf::TextBox box(nullptr);
    box.resize(400, 200);
    struct Row {
      const char* name;
      std::u16string text;
    };
    const std::vector<Row> rows = {
        {"line ends of every kind", u"a\r\nb\rc\nd\r\r"},
        {"NUL, no-break space, tab", std::u16string(u"x\0y\u00A0z\tw", 8)},
        {"a paragraph separator", u"p\u2029q"},
        {"one long line", Repeat(u"word ", 30'000)},
        {"one long line without a space", Repeat(u"\U00010428", 30'000)},
    };
    for (const auto& r : rows) {
      box.SetText(r.text);
      QVERIFY2(box.Text() == r.text, r.name);
      // A copy made in the box has Qt's line ends, and nothing else changed.
      std::u16string lf;
      for (size_t i = 0; i < r.text.size(); ++i) {
        if (r.text[i] == u'\r' && i + 1 < r.text.size() && r.text[i + 1] == u'\n') continue;
        lf += r.text[i] == u'\r' || r.text[i] == u'\u2029' ? u'\n' : r.text[i];
      }
      box.selectAll();
      QVERIFY2(box.SelectedText() == lf, r.name);
    }
    // Edits in a long line: the box's own breaks never reach the text.
    const std::u16string line = Repeat(u"word ", 30'000);
    box.SetText(line);
    QVERIFY(box.document()->blockCount() > 10);
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, "end");
    QVERIFY(box.Text() == line + u"end");
    QTextCursor cursor(box.document());
    cursor.setPosition(12);
    box.setTextCursor(cursor);
    QTest::keyClick(&box, Qt::Key_Return);
    QVERIFY(box.Text() == line.substr(0, 12) + u"\n" + line.substr(12) + u"end");
    box.undo();
    QVERIFY(box.Text() == line + u"end");
    // A whole block deleted, with the break the box made after it.
    cursor.setPosition(0);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    const int taken = cursor.selectionEnd();
    box.setTextCursor(cursor);
    QTest::keyClick(&box, Qt::Key_Delete);
    QVERIFY(box.Text() == line.substr(static_cast<size_t>(taken)) + u"end");
    box.selectAll();
    QVERIFY(box.SelectedText() == box.Text());
  }

  // A large text goes into the box a chunk at a time, the window answering
  // meanwhile; the box is read-only until all of it is in, and gives back
  // the exact text throughout.
  void largeTextsGoInByChunks() {
    pf::TextBox box(nullptr);
    box.resize(400, 200);
    const std::u16string text = Repeat(u"line of text\r\n", 40'000) + Repeat(u"\U00010428", 300'000);
    std::u16string lf = Repeat(u"line of text\n", 40'000) + Repeat(u"\U00010428", 300'000);
    box.SetText(text);
    QVERIFY(box.Loading());
    QVERIFY(box.isReadOnly());
    QVERIFY(box.Text() == text);
    QTRY_VERIFY(!box.Loading());
    QVERIFY(!box.isReadOnly());
    QVERIFY(box.Text() == text);
    box.selectAll();
    QVERIFY(box.SelectedText() == lf);
    // The loading cannot be undone: it is not the user's edit.
    box.undo();
    QVERIFY(box.Text() == text);
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, "x");
    QVERIFY(box.Text() == lf + u"x");
    box.undo();
    QVERIFY(box.Text() == lf);
    // A newer text while an older one goes in replaces it at once.
    box.SetText(text);
    QVERIFY(box.Loading());
    box.SetText(u"short");
    QVERIFY(!box.Loading());
    QCoreApplication::processEvents();
    QCOMPARE(box.toPlainText(), QStringLiteral("short"));
    QVERIFY(!box.isReadOnly());
    // A box the window made read-only stays so.
    box.setReadOnly(true);
    box.SetText(text);
    QTRY_VERIFY(!box.Loading());
    QVERIFY(box.isReadOnly());
  }

  void smartRepairsFromTheMenu() {
    // A settings file of the test's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const std::u16string reference = u"EFFECT OF pH ON SILICA; smith, j.r.";
    SetClipboard(reference);
    {
      MainWindow w(kBuiltInWords);
      StartUp(w);
      QVERIFY(w.Mode() == engine::Mode::Classic);
      QVERIFY(!w.ActionFor(Command::ToggleSmart)->isChecked());
      QVERIFY(w.WorkingText()->Text() == u"Effect of Ph on Silica; Smith, J.r.");
      // The menu's action waits for the running command, like a click.
      w.WorkingText()->SetText(Repeat(u"x h e a t e d y ", 100'000));
      DuringNextCommand(&w, [&w] { w.ActionFor(Command::ToggleSmart)->trigger(); });
      Click(w, Command::Squish);
      QVERIFY(w.WorkingText()->Text().starts_with(u"x heated y x heated y"));  // squished the classic way
      QVERIFY(w.Mode() == engine::Mode::Smart);
      QVERIFY(w.ActionFor(Command::ToggleSmart)->isChecked());
      Click(w, Command::Refresh);
      QVERIFY(w.WorkingText()->Text() == u"Effect of pH on Silica; Smith, J.r.");
      QVERIFY(w.AuthorsText()->Text() == u"Smith, J.R.");
    }
    // Remembered: the next start is smart, title case and split at once.
    QFile conf(config.path() + "/titlefixer/titlefixer.conf");
    QVERIFY(conf.open(QIODevice::ReadOnly));
    QVERIFY(conf.readAll().contains("smart=true"));
    {
      MainWindow w(kBuiltInWords);
      StartUp(w);
      QVERIFY(w.Mode() == engine::Mode::Smart);
      QVERIFY(w.WorkingText()->Text() == u"Effect of pH on Silica; Smith, J.r.");
      QVERIFY(w.TitleText()->Text() == u"Effect of pH on Silica");
      // The command line's --classic wins over the setting.
      MainWindow classic({{false, {}}, engine::Mode::Classic});
      StartUp(classic);
      QVERIFY(classic.WorkingText()->Text() == u"Effect of Ph on Silica; Smith, J.r.");
    }
    qputenv("XDG_CONFIG_HOME", "/nonexistent");
  }

  void copyAsBibTeXAndRis() {
    SetClipboard(
        u"[4] Smith, J. R., & Doe, A. (2020). Effects of pH on TOUGH2 models.\nJournal of Volcanology, 12(3), 45\u201367.");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    Trigger(w, Command::CopyBibTeX);
    const std::u16string bibtex = pf::ClipboardText();
    QVERIFY2(bibtex.starts_with(u"@article{smith2020effects,\n  author = {Smith, J. R. and Doe, A.},\n"
                                u"  title = {Effects of {pH} on {TOUGH2} Models},"),
             QString::fromStdU16String(bibtex).toUtf8());
    Trigger(w, Command::CopyRis);
    const std::u16string ris = pf::ClipboardText();
    QVERIFY2(ris.starts_with(u"TY  - JOUR\nAU  - Smith, J. R.\nAU  - Doe, A.\nPY  - 2020\n") && ris.ends_with(u"ER  - \n"),
             QString::fromStdU16String(ris).toUtf8());
  }

  // A pasted list: one record per reference, read from the clipboard text
  // as it came (the working text is one line).
  void copyAReferenceList() {
    SetClipboard(kList);
    MainWindow w(kBuiltInWords);
    StartUp(w);
    Trigger(w, Command::CopyBibTeX);
    const QString bibtex = QString::fromStdU16String(pf::ClipboardText());
    QCOMPARE(bibtex.count(QStringLiteral("\n@")) + (bibtex.startsWith(u'@') ? 1 : 0), 3);
    QVERIFY2(bibtex.contains(QStringLiteral("@article{smith2009fluid,")) && !bibtex.contains(QStringLiteral("References")),
             bibtex.toUtf8());
    Trigger(w, Command::CopyCslJson);
    const QString json = QString::fromStdU16String(pf::ClipboardText());
    QVERIFY2(json.startsWith(u'[') && json.count(QStringLiteral("\"id\"")) == 3, json.toUtf8());
    Trigger(w, Command::CopyRis);
    QCOMPARE(QString::fromStdU16String(pf::ClipboardText()).count(QStringLiteral("ER  - ")), 3);
  }

  // Nothing to export: the clipboard stays as it was, and the window says so.
  void copyNothingLeavesTheClipboard() {
    SetClipboard(u" \n ");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    Trigger(w, Command::CopyBibTeX);
    QVERIFY(pf::ClipboardText() == u" \n ");
    bool said = false;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible() && box->text().contains(QStringLiteral("no reference")))
        said = true, box->close();
    QVERIFY(said);
  }

  void referencesWindow() {
    SetClipboard(kList + u"\n4. ;;; ,,,\n");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    Trigger(w, Command::References);
    auto* dialog = dynamic_cast<ui::ReferencesDialog*>(w.ReferencesWindow());
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("4 references found"));
    QTableWidget* table = dialog->Table();
    QCOMPARE(table->rowCount(), 4);
    QCOMPARE(table->item(1, 0)->text(), QStringLiteral("Smith, J.R."));
    QCOMPARE(table->item(1, 1)->text(), QStringLiteral("2009"));
    QCOMPARE(table->item(1, 2)->text(), QStringLiteral("Fluid flow in fractured rock"));
    QCOMPARE(table->item(1, 3)->text(), QStringLiteral("Geothermics"));
    QVERIFY(table->item(1, 2)->toolTip().startsWith(QStringLiteral("2. Smith, J.R., 2009. Fluid flow in fractured rock.")));
    // The reference nothing could be read in stays in the list, as such.
    QCOMPARE(table->item(3, 0)->text(), QStringLiteral("(not recognised)"));
    QCOMPARE(table->item(3, 2)->text(), QStringLiteral("4. ;;; ,,,"));
    // Copy the selected rows, then all of them.
    QVERIFY(!dialog->CopyButton(reference::Format::BibTeX, true)->isEnabled());
    table->selectRow(2);
    dialog->CopyButton(reference::Format::BibTeX, true)->click();
    const QString one = QString::fromStdU16String(pf::ClipboardText());
    QVERIFY2(one.startsWith(QStringLiteral("@article{kennedy2007flow,")) && one.count(u'@') == 1, one.toUtf8());
    dialog->CopyButton(reference::Format::Ris, false)->click();
    QCOMPARE(QString::fromStdU16String(pf::ClipboardText()).count(QStringLiteral("TY  - ")), 4);
  }

  void aboutSaysWhereTheListsAre() {
    SetClipboard(u"x");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    const ModalBoxReader about;
    Trigger(w, Command::About);
    const QString& shown = about.Text();
    QVERIFY(shown.contains("Title Fixer 1."));
    QVERIFY(shown.contains("MIT"));
    QVERIFY(shown.contains("SCOWL"));
    QVERIFY(shown.contains("acronyms.txt"));
    QVERIFY(shown.contains("built-in words only"));
  }

  // The desktop's portal is a stand-in on a bus of the test's own: without
  // it the entry says how to bind the command line; with it the shortcuts
  // are bound with their descriptions, and pressing one fixes the clipboard.
  void keyboardShortcutsThroughThePortal() {
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--config-file=" TF_PRIVATE_BUS_CONF), QStringLiteral("--nofork"),
               QStringLiteral("--print-address=1")});
    QVERIFY(bus.waitForReadyRead(10'000));
    const QByteArray address = bus.readLine().trimmed();
    const QByteArray savedAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    QProcess portal;
    const auto cleanup = qScopeGuard([&] {
      portal.kill();  // our own children, by their PIDs
      portal.waitForFinished();
      bus.kill();
      bus.waitForFinished();
      QDBusConnection::disconnectFromBus(QStringLiteral("test"));
      qputenv("XDG_CONFIG_HOME", "/nonexistent");
      if (savedAddress.isNull()) qunsetenv("DBUS_SESSION_BUS_ADDRESS");
      else qputenv("DBUS_SESSION_BUS_ADDRESS", savedAddress);
    });
    QTemporaryDir config;  // the shortcuts are remembered in the settings
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    SetClipboard(u"x");
    auto window = std::make_unique<MainWindow>(kBuiltInWords);
    MainWindow& w = *window;
    StartUp(w);

    {
      // Asked without waiting: the answer comes through the event loop.
      const ModalBoxReader noPortal;
      Trigger(w, Command::KeyboardShortcuts);
      QTRY_VERIFY2_WITH_TIMEOUT(
          noPortal.Text().contains(QStringLiteral("bind the command \u201ctitlefixer join --clipboard\u201d")),
          qPrintable(noPortal.Text()), 10'000);
    }

    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("bound"));
    portal.start(QStringLiteral(TF_PORTAL_STANDIN), {log});
    QDBusConnection test = QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("test"));
    QTRY_VERIFY_WITH_TIMEOUT(test.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop")),
                             10'000);
    Trigger(w, Command::KeyboardShortcuts);
    QMessageBox* notice = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((notice = w.findChild<QMessageBox*>()) != nullptr, 10'000);
    QCOMPARE(notice->text(), QStringLiteral("The desktop bound Title Fixer's shortcuts:\n"
                                            "Join lines on the clipboard: Ctrl+Alt+1\n"
                                            "Title-case the clipboard: Ctrl+Alt+2\n"
                                            "Copy as BibTeX: Ctrl+Alt+3"));
    const QByteArray bound("join\tJoin lines on the clipboard\n"
                           "clean\tTitle-case the clipboard\n"
                           "bibtex\tCopy as BibTeX\n");
    QFile given(log);
    QVERIFY(given.open(QIODevice::ReadOnly));
    QCOMPARE(given.readAll(), bound);

    struct Press {
      const char* name;
      const char* id;
      std::u16string clipboard, expected;
    };
    const Press presses[] = {
        {"join", "join", u"x h e a t e d y\r\nnext , line", u"x heated y next, line"},
        {"title case", "clean", u"the tough2 code", u"The TOUGH2 Code"},
        {"BibTeX", "bibtex", u"Smith, J. (2020). Heat flow in wells. Geothermics, 12, 45-67.",
         u"@article{smith2020heat,\n  author = {Smith, J.},\n  title = {Heat Flow in Wells},\n"
         u"  journal = {Geothermics},\n  year = {2020},\n  volume = {12},\n  pages = {45--67}\n}\n"},
    };
    const auto pressed = [&test](const Press& p) {
      SetClipboard(p.clipboard);
      QDBusMessage press = QDBusMessage::createMethodCall(
          QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
          QStringLiteral("org.titlefixer.StandIn"), QStringLiteral("Press"));
      press << QString::fromLatin1(p.id);
      if (test.call(press).type() != QDBusMessage::ReplyMessage) return false;
      return QTest::qWaitFor([&p] { return Clipboard() == p.expected; }, 10'000);
    };
    for (const Press& p : presses) QVERIFY2(pressed(p), p.name);
    // The window's own texts stay as they were.
    QCOMPARE(w.RawText()->text(), QStringLiteral("x"));

    // The next start binds them again, without a word.
    window.reset();
    QFile conf(config.path() + "/titlefixer/titlefixer.conf");
    QVERIFY(conf.open(QIODevice::ReadOnly));
    QVERIFY(conf.readAll().contains("shortcuts=true"));
    MainWindow again(kBuiltInWords);
    StartUp(again);
    QTRY_VERIFY_WITH_TIMEOUT(QFile(log).size() == 2 * bound.size(), 10'000);  // bound twice
    QVERIFY(pressed(presses[1]));
    QVERIFY(again.findChild<QMessageBox*>() == nullptr);

    // A portal that never answers holds nothing up: the binding is asked
    // for and the window goes on at once.
    QDBusMessage silence = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.titlefixer.StandIn"), QStringLiteral("Silence"));
    QCOMPARE(test.call(silence).type(), QDBusMessage::ReplyMessage);
    // (A call that waited would have given up by the time it returned, and
    // said so in a message box.)
    MainWindow silent(kBuiltInWords);
    StartUp(silent);  // binds again, quietly
    Trigger(silent, Command::KeyboardShortcuts);
    Click(silent, Command::MoreLess);
    QVERIFY(silent.MoreShown());
    QVERIFY(silent.findChild<QMessageBox*>() == nullptr);
  }

  void clicksRunInClickOrderAfterTheRunningCommand() {
    // A long refresh; meanwhile another program copies a text, and the user
    // clicks Refresh, then Copy. The refresh reads the new text, and Copy
    // copies what it made: nothing is lost, nothing runs inside another.
    const std::u16string big = Repeat(u"a z q b\r\n", 1'000'000);
    SetClipboard(u"start");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    SetClipboard(big);
    DuringNextCommand(&w, [&w] {
      QVERIFY(!w.Idle());  // the join runs
      SetClipboard(u"SECOND TEXT");
      Press(w, Command::Refresh);
      Press(w, Command::Copy);
    });
    Click(w, Command::JoinLines);
    QVERIFY(w.RawText()->Caption() == u"SECOND TEXT");
    QVERIFY(w.WorkingText()->Text() == u"Second Text");
    QVERIFY(Clipboard() == u"Second Text");
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
  }

  void aBurstOfClicksDuringACommand() {
    SetClipboard(u"start");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    w.WorkingText()->SetText(Repeat(u"x h e a t e d y ", 200'000));
    DuringNextCommand(&w, [&w] {
      QVERIFY(!w.Idle());  // the squish runs
      for (int i = 0; i < 3001; ++i) Press(w, Command::MoreLess);
    });
    Click(w, Command::Squish);
    QVERIFY(w.MoreShown());  // an odd number of toggles, each run once
    QCOMPARE(pf::WindowHeight(&w), 6756.0 + w.BarsHeight());
    QVERIFY(w.WorkingText()->Text().starts_with(u"x heated y x heated y"));
  }

  void aClickDuringStartUpRunsOnceTheWordsAreLoaded() {
    SetClipboard(u"x w e l l s y");
    MainWindow w(kBuiltInWords);
    QMetaObject::invokeMethod(w.ButtonFor(Command::Squish), &QAbstractButton::click, Qt::QueuedConnection);
    StartUp(w);
    QVERIFY(w.WorkingText()->Text() == u"X wells Y");
  }

  void awkwardClipboards() {
    // HTML: the plain text is taken, and shown as plain text.
    auto* mime = new QMimeData;
    mime->setHtml(QStringLiteral("<b>bold</b> title"));
    mime->setText(QStringLiteral("<b>bold</b> title"));
    QGuiApplication::clipboard()->setMimeData(mime);
    MainWindow w(kBuiltInWords);
    StartUp(w);
    QVERIFY(w.RawText()->Caption() == u"<b>bold</b> title");
    QCOMPARE(w.RawText()->textFormat(), Qt::PlainText);
    QCOMPARE(w.RawText()->text(), QStringLiteral("<b>bold</b> title"));
    QVERIFY(w.WorkingText()->Text() == u"<b>bold</b> Title");
    // HTML alone and an image alone read as no text.
    auto* htmlOnly = new QMimeData;
    htmlOnly->setHtml(QStringLiteral("<i>x</i>"));
    QGuiApplication::clipboard()->setMimeData(htmlOnly);
    Click(w, Command::Refresh);
    QVERIFY(w.RawText()->Caption().empty());
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(image);
    Click(w, Command::JoinLines);
    QVERIFY(w.WorkingText()->Text().empty());
    // NUL and lone surrogates go through the clipboard and back unchanged.
    const std::u16string odd = std::u16string(u"heat\0 flow ", 11) + char16_t(0xD800) + u" \xDC00x";
    SetClipboard(odd);
    Click(w, Command::JoinLines);
    Click(w, Command::Copy);
    QVERIFY(Clipboard() == std::u16string(u"heat\0 flow ", 11) + char16_t(0xD800) + u" \xDC00x");
  }

  void largeClipboard() {
    // 9 MB of letter-spaced lines: every button completes, nothing is lost.
    const size_t copies = 1'000'000;
    const std::u16string big = Repeat(u"a z q b\r\n", copies);
    QTemporaryDir dir;
    const QString list = dir.filePath("words.txt");
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("zq\n");
    file.close();
    SetClipboard(big);
    MainWindow w({{true, list.toStdString()}, std::nullopt});
    StartUp(w);
    QVERIFY(w.RawText()->Caption() == big);
    QVERIFY(w.WorkingText()->Text() == u"A Z Q B" + Repeat(u" a Z Q B", copies - 1));
    Click(w, Command::JoinLines);
    std::u16string joined = Repeat(u"a zq b ", copies);
    joined.pop_back();
    QVERIFY(w.WorkingText()->Text() == joined);
    Click(w, Command::Copy);
    QVERIFY(Clipboard() == joined);
  }

  void outOfMemoryIsReportedAndTheWindowGoesOn() {
    if (!TF_REPLACED_NEW) QSKIP("allocation failures are injected only without AddressSanitizer");
    SetClipboard(u"first");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    // 8 MB of text: reading the clipboard makes one copy of it, which is
    // allowed; title casing needs another, which is refused.
    SetClipboard(Repeat(u"a ", 2'000'000) + u"x h e a t y");
    const ModalBoxReader error;
    const QString& reported = error.Text();
    g_bigAllocationsAllowed = 1;
    g_failAllocationsAbove = 4'000'000;
    Click(w, Command::Refresh);
    g_failAllocationsAbove = 0;
    QVERIFY2(reported.startsWith("Not enough memory for this text"), qPrintable(reported));
    QVERIFY(w.isVisible());
    QVERIFY(w.WorkingText()->Text() == u"First");  // untouched
    w.WorkingText()->SetText(u"x h e a t y");
    Click(w, Command::Squish);  // and the next command works
    QVERIFY(w.WorkingText()->Text() == u"x heat y");
  }

  // The same at start-up in smart mode: reported, and the window opens.
  void outOfMemoryAtStartUp() {
    if (!TF_REPLACED_NEW) QSKIP("allocation failures are injected only without AddressSanitizer");
    SetClipboard(Repeat(u"a ", 2'000'000) + u"x h e a t y");
    MainWindow w({{false, {}}, engine::Mode::Smart});
    const ModalBoxReader error;
    const QString& reported = error.Text();
    g_bigAllocationsAllowed = 1;
    g_failAllocationsAbove = 4'000'000;
    StartUp(w);
    g_failAllocationsAbove = 0;
    QVERIFY2(reported.startsWith("Not enough memory for this text"), qPrintable(reported));
    QVERIFY(w.isVisible());
    SetClipboard(u"heat flow; smith, j.");
    Click(w, Command::Refresh);  // and the next command works
    QVERIFY(w.TitleText()->Text() == u"Heat Flow");
  }

  void wordListWarning() {
    // A word list that cannot be read: the window works with the built-in
    // words, and says why in a window that does not block it.
    QTemporaryDir dir;
    SetClipboard(u"x w e l l s y");
    MainWindow w({{true, dir.path().toStdString()}, std::nullopt});
    StartUp(w);
    QCOMPARE(w.Words().ClassicWords().NumWords(), size_t{268});
    auto* box = w.findChild<QMessageBox*>();
    QVERIFY(box != nullptr && box->isVisible());
    QCOMPARE(box->windowModality(), Qt::NonModal);
    QVERIFY(box->text().contains(dir.path()));
    Click(w, Command::Squish);
    QVERIFY(w.WorkingText()->Text() == u"X wells Y");
  }

  void screenshots() {
    SetClipboard(u"THE GEOLOGY OF THE\r\n\tWAIRAKEI GEOTHERMAL FIELD, NEW ZEALAND; grindley, g.w.");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    const QString dir = QStringLiteral(TF_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    QVERIFY(w.grab().save(dir + "/window-compact.png"));
    Click(w, Command::Refresh);
    Click(w, Command::MoreLess);
    QVERIFY(w.grab().save(dir + "/window-expanded.png"));
    // Smart mode, with the Options menu open over it: the menu is a window
    // of its own, drawn onto the picture where it opens.
    SetClipboard(u"E\uFB00ects of \uFB02uid \uFB02ow in geo-\r\nthermal reservoirs: a review; grindley, g.w.");
    Trigger(w, Command::ToggleSmart);
    Click(w, Command::Refresh);
    QMenu* options = nullptr;
    for (QMenu* menu : w.menuBar()->findChildren<QMenu*>())
      if (menu->title() == QStringLiteral("&Options")) options = menu;
    QVERIFY(options != nullptr);
    const QPoint at = w.menuBar()->mapTo(&w, w.menuBar()->actionGeometry(options->menuAction()).bottomLeft());
    options->popup(w.mapToGlobal(at));
    QApplication::processEvents();
    QPixmap picture = w.grab();
    QPainter painter(&picture);
    painter.drawPixmap(at, options->grab());
    painter.end();
    options->hide();
    QVERIFY(picture.save(dir + "/window-smart-menu.png"));
    Trigger(w, Command::ToggleSmart);
    // Edit > References... on a pasted bibliography.
    SetClipboard(kScreenshotList);
    Click(w, Command::Refresh);
    Trigger(w, Command::References);
    QWidget* references = w.ReferencesWindow();
    QVERIFY(references != nullptr);
    references->resize(980, 300);
    auto* table = dynamic_cast<ui::ReferencesDialog*>(references)->Table();
    table->selectRow(1);
    QApplication::processEvents();
    QVERIFY(references->grab().save(dir + "/window-references.png"));
  }

  // What a screen reader is told of each control, through Qt's
  // accessibility interface.
  void accessibleNamesAndTooltips() {
    SetClipboard(u"x");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    const struct {
      const char* name;
      QWidget* control;
      const char* accessibleName;
      QAccessible::Role role;
    } rows[] = {
        {"clipboard text", w.RawText(), "Clipboard text", QAccessible::StaticText},
        {"working text", w.WorkingText(), "Working text", QAccessible::EditableText},
        {"authors", w.AuthorsText(), "Authors", QAccessible::EditableText},
        {"title", w.TitleText(), "Title", QAccessible::EditableText},
        {"copy", w.ButtonFor(Command::Copy), "Copy to Clipboard", QAccessible::Button},
        {"the 2 button", w.ButtonFor(Command::JoinParagraphs), "Join lines, keeping paragraphs", QAccessible::Button},
        {"squish", w.ButtonFor(Command::Squish), "Squish", QAccessible::Button},
    };
    for (const auto& r : rows) {
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(r.control);
      QVERIFY2(a != nullptr, r.name);
      QCOMPARE(a->text(QAccessible::Name), QString::fromLatin1(r.accessibleName));
      QCOMPARE(a->role(), r.role);
      QVERIFY2(!a->text(QAccessible::Description).isEmpty(), r.name);
    }
    for (int c = 0; c <= static_cast<int>(Command::JoinParagraphs); ++c)
      QVERIFY2(!w.ButtonFor(static_cast<Command>(c))->toolTip().isEmpty(), "every button has a tooltip");
    QVERIFY(w.ActionFor(Command::ToggleSmart)->isCheckable());
    // Announced as something that can be checked, checked or not.
    QAccessibleInterface* smart = QAccessible::queryAccessibleInterface(w.ActionFor(Command::ToggleSmart));
    QVERIFY(smart != nullptr);
    QCOMPARE(smart->role(), QAccessible::CheckBox);
    QCOMPARE(smart->text(QAccessible::Name), QStringLiteral("Smart repairs"));
    QVERIFY(smart->state().checkable && !smart->state().checked);
    Click(w, Command::MoreLess);  // any command first: the toggle waits its turn like a click
    Trigger(w, Command::ToggleSmart);
    QTRY_VERIFY(smart->state().checked);
    Trigger(w, Command::ToggleSmart);
    QTRY_VERIFY(!smart->state().checked);
    // The menus, in the order desktops use.
    QStringList menus;
    for (QAction* a : w.menuBar()->actions()) menus << a->text();
    QCOMPARE(menus, (QStringList{"&File", "&Edit", "&Options", "&Help"}));
    QCOMPARE(w.ActionFor(Command::Quit)->shortcut(), QKeySequence(QKeySequence::Quit));
    QCOMPARE(w.ActionFor(Command::Handbook)->shortcut(), QKeySequence(QKeySequence::HelpContents));
    QCOMPARE(w.ActionFor(Command::About)->text(), QStringLiteral("&About Title Fixer"));
    // The program's own icon, for the window and the About box.
    QVERIFY(!w.windowIcon().availableSizes().isEmpty());
  }

  // From the keyboard alone: Tab leaves a text box (Ctrl+Tab types a tab),
  // Alt and a button's letter presses it, F5 refreshes, F1 opens the
  // handbook.
  void keyboard() {
    SetClipboard(u"heat flow; smith, j.");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.WorkingText()->setFocus();
    QApplication::processEvents();
    const std::u16string before = w.WorkingText()->Text();
    QTest::keyClick(w.WorkingText(), Qt::Key_Tab);
    QVERIFY(w.WorkingText()->Text() == before);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.ButtonFor(Command::Copy)));
    w.WorkingText()->setFocus();
    QTest::keyClick(w.WorkingText(), Qt::Key_End);
    QTest::keyClick(w.WorkingText(), Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(w.WorkingText()->Text() == before + u"\t");
    SetClipboard(u"something else");
    // A button pressed from the keyboard shows itself pressed for a moment.
    QTest::keyClick(w.WorkingText(), Qt::Key_C, Qt::AltModifier);  // Copy to Clipboard
    QTRY_VERIFY(Clipboard() == before + u"\t");
    SetClipboard(u"read again");
    QTest::keyClick(w.WorkingText(), Qt::Key_F5);
    WaitUntilIdle(w);
    QVERIFY(w.WorkingText()->Text() == u"Read Again");
    QTest::keyClick(w.WorkingText(), Qt::Key_M, Qt::AltModifier);
    QTRY_VERIFY(w.MoreShown());
    QTest::keyClick(w.WorkingText(), Qt::Key_F1);
    QDialog* handbook = w.findChild<QDialog*>();
    bool shown = false;
    for (QDialog* d : w.findChildren<QDialog*>())
      if (d->windowTitle() == QStringLiteral("Title Fixer Handbook") && d->isVisible()) {
        shown = true;
        QVERIFY(d->findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("Keyboard shortcuts")));
        d->close();
      }
    QVERIFY(handbook != nullptr && shown);
  }

  // The status line says what the last command did.
  void statusLine() {
    SetClipboard(u"");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    QVERIFY2(w.Said().contains(QStringLiteral("clipboard holds no text")), qPrintable(w.Said()));
    const struct {
      const char* name;
      std::u16string clipboard;
      Command command;
      const char* said;
    } rows[] = {
        {"a plain title", u"heat flow", Command::Refresh, "Read 9 characters from the clipboard"},
        {"ligatures: smart repairs would mend them", u"e\uFB00ects of \uFB02uid", Command::Refresh,
         "Smart repairs would mend"},
        {"a hyphenated line end", u"frac-\ntured rock", Command::JoinLines, "Smart repairs would mend"},
        {"letter-spaced words", u"the g e o t h e r m a l field", Command::Squish, "Squish joined 1 word"},
        {"nothing to squish", u"heat flow", Command::Squish, "Nothing to squish"},
        {"a copy", u"heat flow", Command::Copy, "Copied 9 characters"},
    };
    for (const auto& r : rows) {
      SetClipboard(r.clipboard);
      if (r.command == Command::Squish || r.command == Command::Copy) w.WorkingText()->SetText(r.clipboard);
      Click(w, r.command);
      QVERIFY2(w.Said().contains(QString::fromLatin1(r.said)), qPrintable(QString::fromLatin1(r.name) + ": " + w.Said()));
    }
    Trigger(w, Command::ToggleSmart);
    SetClipboard(u"e\uFB00ects");
    Click(w, Command::Refresh);
    QVERIFY2(!w.Said().contains(QStringLiteral("Smart repairs would")), qPrintable(w.Said()));
    Trigger(w, Command::ToggleSmart);
  }

  // Last but for the clean-up: ending is for the whole program.
  void quitStopsTheRunningCommand() {
    SetClipboard(u"x");
    MainWindow w(kBuiltInWords);
    StartUp(w);
    w.WorkingText()->SetText(u"x h e a t y");
    // A refresh and then Quit clicked while the squish runs: Quit does not
    // wait its turn; the squish's outcome is dropped and nothing runs after.
    SetClipboard(u"changed");
    DuringNextCommand(&w, [&w] {
      QVERIFY(!w.Idle());
      Press(w, Command::Refresh);
      Press(w, Command::Quit);
    });
    Click(w, Command::Squish);
    QVERIFY(pf::Ending());
    QVERIFY(!w.isVisible());
    QVERIFY(w.WorkingText()->Text() == u"x h e a t y");
    QVERIFY(w.RawText()->Caption() == u"x");
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    Click(w, Command::MoreLess);
    QVERIFY(!w.MoreShown());
  }

 private:
  std::vector<std::pair<const char*, QByteArray>> m_savedEnv;
};

}  // namespace tf

QTEST_MAIN(tf::WindowTest)
#include "window_test.moc"
