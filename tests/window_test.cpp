// The window under the offscreen platform (no window frame): start-up,
// geometry in twips, every button, nested clicks, edits, awkward clipboards.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/platform.h"
#include "squish/vocabulary.h"
#include "text/text.h"
#include "ui/form1.h"

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
}

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
using ui::Form1;

void SetClipboard(const std::u16string& text) { pf::SetClipboardText(text); }
std::u16string Clipboard() { return pf::ClipboardText(); }

// Queues a click on `button` to be delivered at the next event processing,
// the moment `trigger` first changes its text.
void ClickWhenChanged(QPlainTextEdit* trigger, QAbstractButton* button) {
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(trigger, &QPlainTextEdit::textChanged, button, [=] {
    QObject::disconnect(*connection);
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
  });
}

// Queues clicks so that they arrive inside the command, at the squish's own
// event processing rather than at the start of the click: the processing at
// the start of a click delivers what is queued and then what that queues in
// turn, so the clicks are queued two steps later.
void ClickDuringCommand(QObject* context, QList<QAbstractButton*> buttons) {
  QMetaObject::invokeMethod(context, [context, buttons] {
    QMetaObject::invokeMethod(context, [buttons] {
      for (QAbstractButton* b : buttons)
        QMetaObject::invokeMethod(b, &QAbstractButton::click, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
  }, Qt::QueuedConnection);
}

}  // namespace

class WindowTest final : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/nonexistent", 1);  // no word list from the user's config
  }

  void startUp() {
    const std::u16string raw = u"the geology of\r\n\tnew zealand; smith, j.r.";
    SetClipboard(raw);
    Form1 form({false, {}});
    form.Form_Load();
    QCOMPARE(form.windowTitle(), QStringLiteral("Quorvel's Title Fixer Program"));
    QVERIFY(form.Label1()->Caption() == raw);
    QVERIFY(form.Label2()->Caption() == CleanTitle(raw));
    QVERIFY(form.Text1()->Text() == u"The Geology of New Zealand; Smith, J.r.");
    QVERIFY(form.Text2()->Text() == u"Text2");
    QVERIFY(form.Text3()->Text() == u"Text3");
    QVERIFY(form.isVisible());
    QVERIFY(form.Label1()->isVisible());
    for (QWidget* hidden : {static_cast<QWidget*>(form.Label2()),
                            static_cast<QWidget*>(form.Text2()),
                            static_cast<QWidget*>(form.Text3()),
                            static_cast<QWidget*>(form.Command1(4)),
                            static_cast<QWidget*>(form.Command1(5))})
      QVERIFY(!hidden->isVisible());
    QVERIFY(!form.MoreShown());
    QCOMPARE(pf::WindowHeight(&form), 4476.0);
    QCOMPARE(pf::Height(form.Label1()), 1212.0);
    QCOMPARE(pf::Top(form.Label1()) + pf::Height(form.Label1()), 1332.0);
    const double left = std::abs(pf::ScreenWidth() / 2 - pf::WindowWidth(&form) / 2);
    const double top = std::abs(pf::ScreenHeight() / 2 - 4476.0 / 2);
    QCOMPARE(form.frameGeometry().x(), qRound(pf::TwipsToPixelsX(left)));
    QCOMPARE(form.frameGeometry().y(), qRound(pf::TwipsToPixelsY(top)));
    for (QWidget* w : {static_cast<QWidget*>(form.Label1()), static_cast<QWidget*>(form.Label2()),
                       static_cast<QWidget*>(form.Text1()), static_cast<QWidget*>(form.Text2()),
                       static_cast<QWidget*>(form.Text3())})
      QCOMPARE(w->font().pointSizeF(), 12.0);
    QCOMPARE(form.Command1(0)->font().pointSizeF(), QApplication::font().pointSizeF());
    QCOMPARE(form.Words().NumWords(), size_t{268});
    QCOMPARE(form.Command1(6)->Caption(), QStringLiteral("More"));
  }

  void layout() {
    SetClipboard(u"x");
    Form1 form({false, {}});
    struct Row {
      QWidget* control;
      double left, top, width, height;
      QString caption;
    };
    const QList<Row> rows = {
        {form.Label1(), 120, 120, 7812, 372, "Label1"},
        {form.Label2(), 120, 600, 8052, 732, "Label2"},
        {form.Text1(), 120, 1440, 8052, 1572, "Text1"},
        {form.Command1(0), 120, 3120, 1932, 492, "Copy to Clipboard"},
        {form.Command1(1), 2160, 3120, 1932, 492, "Refresh from Clipboard"},
        {form.Command1(2), 4200, 3120, 1932, 492, "Just strip Line Breaks"},
        {form.Command1(3), 6240, 3120, 1932, 492, "Quit"},
        {form.Text2(), 120, 3720, 6252, 1212, "Text2"},
        {form.Text3(), 120, 5040, 6252, 1212, "Text3"},
        {form.Command1(4), 6480, 4080, 1692, 612, "Copy Authors to Clipboard"},
        {form.Command1(5), 6480, 5280, 1692, 612, "Copy Title to Clipboard"},
        {form.Command1(6), 7440, 3720, 732, 252, "More"},
        {form.Command1(7), 6480, 3720, 732, 252, "Squish"},
        {form.Command1(8), 5880, 3480, 372, 252, "2"},
    };
    for (const Row& r : rows) {
      QCOMPARE(pf::Left(r.control), r.left);
      QCOMPARE(pf::Top(r.control), r.top);
      QCOMPARE(pf::Width(r.control), r.width);
      QCOMPARE(pf::Height(r.control), r.height);
      QString caption;
      if (auto* l = dynamic_cast<pf::Label*>(r.control)) caption = pf::ToQString(l->Caption());
      if (auto* t = dynamic_cast<pf::TextBox*>(r.control)) caption = pf::ToQString(t->Text());
      if (auto* b = dynamic_cast<pf::Button*>(r.control)) caption = b->Caption();
      QCOMPARE(caption, r.caption);
    }
    // Tab order: Text1, buttons 0-3, Text2, Text3, buttons 4-8.
    const QList<QWidget*> expected = {form.Text1(), form.Command1(0), form.Command1(1),
                                      form.Command1(2), form.Command1(3), form.Text2(),
                                      form.Text3(), form.Command1(4), form.Command1(5),
                                      form.Command1(6), form.Command1(7), form.Command1(8)};
    QList<QWidget*> chain;
    for (QWidget* w = form.nextInFocusChain(); w != &form; w = w->nextInFocusChain())
      if (expected.contains(w)) chain << w;
    QCOMPARE(chain, expected);
  }

  void toggleTwice() {
    SetClipboard(u"x");
    Form1 form({false, {}});
    form.Form_Load();
    const QRect before = form.frameGeometry();
    form.Command1_Click(6);
    QVERIFY(form.MoreShown());
    QCOMPARE(pf::WindowHeight(&form), 6756.0);
    QCOMPARE(form.Command1(6)->Caption(), QStringLiteral("Less"));
    QVERIFY(form.Text2()->isVisible() && form.Text3()->isVisible());
    QVERIFY(form.Command1(4)->isVisible() && form.Command1(5)->isVisible());
    QCOMPARE(form.frameGeometry().topLeft(), before.topLeft());
    // Before any refresh the lower part holds its initial texts.
    form.Command1_Click(4);
    QVERIFY(Clipboard() == u"Text2");
    form.Command1_Click(5);
    QVERIFY(Clipboard() == u"Text3");
    form.Command1_Click(6);
    QVERIFY(!form.MoreShown());
    QCOMPARE(pf::WindowHeight(&form), 4476.0);
    QCOMPARE(form.Command1(6)->Caption(), QStringLiteral("More"));
    QVERIFY(!form.Text2()->isVisible() && !form.Command1(5)->isVisible());
    QCOMPARE(form.frameGeometry().topLeft(), before.topLeft());
  }

  void buttons() {
    SetClipboard(u"start");
    Form1 form({false, {}});
    form.Form_Load();

    // Refresh: title case, then the split; written even while hidden.
    const std::u16string reference = u"a study of\r\nheat flow; smith, j.r. and jones, a.";
    SetClipboard(reference);
    form.Command1_Click(1);
    QVERIFY(form.Label1()->Caption() == reference);
    QVERIFY(form.Text1()->Text() == u"A Study of Heat Flow; Smith, J.r. and Jones, A.");
    QVERIFY(form.Text2()->Text() == u"Smith, J.R. and Jones, A.");
    QVERIFY(form.Text3()->Text() == u"A Study of Heat Flow");
    QVERIFY(!form.Text2()->isVisible());
    form.Command1_Click(4);
    QVERIFY(Clipboard() == u"Smith, J.R. and Jones, A.");
    form.Command1_Click(5);
    QVERIFY(Clipboard() == u"A Study of Heat Flow");

    // Button 2: join and squish, no title casing, lower part untouched.
    const std::u16string spaced = u"THE h e a t e d\r\n\r\nw e l l , done";
    SetClipboard(spaced);
    form.Command1_Click(2);
    QVERIFY(form.Label1()->Caption() == spaced);
    QVERIFY(form.Label2()->Caption() == u"THE h e a t e d w e l l , done");
    QVERIFY(form.Text1()->Text() == u"THE heated well, done");
    QVERIFY(form.Text2()->Text() == u"Smith, J.R. and Jones, A.");

    // Button 8: paragraph breaks kept as CR CR, exactly, also on the
    // clipboard; a letter-spaced word glued to a break is not a whole match.
    form.Command1_Click(8);
    QVERIFY(form.Label2()->Caption() == u"THE h e a t e d\r\rw e l l , done");
    QVERIFY(form.Text1()->Text() == u"THE heat e d\r\rw e l l, done");
    form.Command1_Click(0);
    QVERIFY(Clipboard() == u"THE heat e d\r\rw e l l, done");

    // Button 7 works on the box as the user left it.
    form.Text1()->setFocus();
    form.Text1()->moveCursor(QTextCursor::End);
    QTest::keyClicks(form.Text1(), " s t u d y ok  ");
    QVERIFY(form.Text1()->Text() == u"THE heat e d\n\nw e l l, done s t u d y ok  ");
    form.Command1_Click(7);
    QVERIFY(form.Text1()->Text() == u"THE heat e d\n\nw e l l, done study ok");
    QTest::keyClicks(form.Text1(), "X");
    form.Command1_Click(0);
    QVERIFY(Clipboard() == form.Text1()->Text());
    QVERIFY(Clipboard().find(u'X') != std::u16string::npos);

    // Refresh with an empty clipboard empties everything.
    QGuiApplication::clipboard()->clear();
    form.Command1_Click(1);
    for (const std::u16string& s : {form.Label1()->Caption(), form.Label2()->Caption(),
                                    form.Text1()->Text(), form.Text2()->Text(),
                                    form.Text3()->Text()})
      QVERIFY(s.empty());
    // An index outside 0..8 does nothing.
    form.Command1_Click(9);
    form.Command1_Click(-1);
    QVERIFY(form.isVisible());
  }

  void nestedClicks() {
    const std::u16string clip = u"x h e a t e d\r\n\r\ny; a u t h o r";
    SetClipboard(clip);
    Form1 form({false, {}});
    form.Form_Load();
    // A click queued behind the first runs before the first one's command.
    form.Text1()->SetText(u"q h e a t z");
    QMetaObject::invokeMethod(form.Command1(7), &QAbstractButton::click, Qt::QueuedConnection);
    form.Command1_Click(0);
    QVERIFY(Clipboard() == u"q heat z");

    // Refresh clicked while button 8 waits between joining and squishing:
    // the refresh runs whole, then the squish works on what it left.
    SetClipboard(clip);
    ClickWhenChanged(form.Text1(), form.Command1(1));
    form.Command1_Click(8);
    QVERIFY(form.Label1()->Caption() == clip);
    QVERIFY(form.Label2()->Caption() == CleanTitle(clip));
    QVERIFY(form.Text2()->Text() == u"A U T H O R");
    QVERIFY(form.Text3()->Text() == u"X H E a T E D Y");
    QVERIFY(form.Text1()->Text() == u"X H E a T E D Y; a U T H O R");

    // The toggle clicked at the same point: the window grows, the squish
    // still runs on the joined text.
    ClickWhenChanged(form.Text1(), form.Command1(6));
    form.Command1_Click(2);
    QVERIFY(form.MoreShown());
    QCOMPARE(pf::WindowHeight(&form), 6756.0);
    QVERIFY(form.Text1()->Text() == u"x heated y; a u t h o r");

    // A click queued while the window is first drawn runs before the
    // vocabulary exists: the squish then replaces nothing.
    SetClipboard(u"x w e l l s y");
    Form1 early({false, {}});
    QMetaObject::invokeMethod(early.Command1(7), &QAbstractButton::click, Qt::QueuedConnection);
    early.Form_Load();
    QVERIFY(early.Text1()->Text() == u"X W E L L S Y");
    QCOMPARE(early.Words().NumWords(), size_t{268});
    early.Command1_Click(7);
    QVERIFY(early.Text1()->Text() == u"X wells Y");
  }

  void clicksOnEveryButtonDuringASquish() {
    const std::u16string clip = u"t h e  g e o t h e r m a l\r\n\r\nf i e l d s ; s m i t h , j . r .";
    SetClipboard(clip);
    Form1 form({false, {}});
    form.Form_Load();
    const std::u16string working = u"x h e a t e d y: w e l l s";
    form.Text1()->SetText(working);
    // Queued in this order while the squish of button 7 processes events.
    // Each click first processes the events still pending, so the click
    // queued behind it runs whole before its own command: the commands run
    // last-queued first, 5, 4, 0, 6, 7, 8, 2, 1, and then the squish goes
    // on with Text1 as they left it.
    QList<QAbstractButton*> buttons;
    for (int i : {1, 2, 8, 7, 6, 0, 4, 5}) buttons << form.Command1(i);
    QStringList order;  // when each click's command has finished
    for (int i : {1, 2, 8, 7, 6, 0, 4, 5})
      QObject::connect(form.Command1(i), &QAbstractButton::clicked, [&order, i] { order << QString::number(i); });
    ClickDuringCommand(&form, buttons);
    form.Command1_Click(7);
    QCOMPARE(order, QStringList({"5", "4", "0", "6", "7", "8", "2", "1"}));
    const Vocabulary& v = form.Words();
    // 5, 4, 0: the clipboard ends up holding the working text; 8, 2 and 1
    // read it from there.
    QVERIFY(Clipboard() == working);
    QVERIFY(form.Label1()->Caption() == working);
    QVERIFY(form.Label2()->Caption() == CleanTitle(working));  // 1 ran last
    const AuthorsTitle parts = GetAuthorsTitle(CleanTitle(working));
    QVERIFY(form.Text2()->Text() == parts.Authors);
    QVERIFY(form.Text3()->Text() == parts.Title);
    QVERIFY(form.Text1()->Text() == SquishText(CleanTitle(working), v));
    QVERIFY(form.MoreShown());
    QCOMPARE(pf::WindowHeight(&form), 6756.0);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);  // every busy cursor restored
  }

  void nulAndLoneSurrogates() {
    const std::u16string clip = std::u16string(u"heat\0 flow ") + char16_t(0xD800) + u" \xDC00x the";
    SetClipboard(clip);
    QVERIFY(Clipboard() == clip);
    Form1 form({false, {}});
    form.Form_Load();
    QVERIFY(form.Label1()->Caption() == clip);
    QVERIFY(form.Text1()->Text() == CleanTitle(clip));
    form.Command1_Click(0);
    QVERIFY(Clipboard() == CleanTitle(clip));
    QCOMPARE(Clipboard().size(), clip.size());
  }

  void outOfMemoryIsReportedAndTheWindowGoesOn() {
    if (!TF_REPLACED_NEW) QSKIP("allocation failures are injected only without AddressSanitizer");
    SetClipboard(u"first");
    Form1 form({false, {}});
    form.Form_Load();
    // 8 MB of text: reading the clipboard makes one copy of it, which is
    // allowed, and the title casing needs another, which is refused.
    std::u16string big;
    for (int i = 0; i < 2'000'000; ++i) big += u"a ";
    big += u"x h e a t y";
    SetClipboard(big);
    QString reported;
    // Reads and closes the error box once it is up.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        reported = box->text();
        box->accept();
        closer.stop();
      }
    });
    closer.start(20);
    g_bigAllocationsAllowed = 1;
    g_failAllocationsAbove = 4'000'000;
    form.Command1_Click(1);  // the title casing cannot get its memory
    g_failAllocationsAbove = 0;
    QVERIFY(reported.contains("could not be completed"));
    QVERIFY(form.isVisible());
    QVERIFY(form.Label1()->Caption() == big);   // written before the failure
    QVERIFY(form.Text1()->Text() == u"First");  // untouched
    form.Text1()->SetText(u"x h e a t y");
    form.Command1_Click(7);                     // and the next command works
    QVERIFY(form.Text1()->Text() == u"x heat y");
  }

  void awkwardClipboards() {
    // HTML: the plain text is taken, and shown as plain text.
    auto* mime = new QMimeData;
    mime->setHtml(QStringLiteral("<b>bold</b> title"));
    mime->setText(QStringLiteral("<b>bold</b> title"));
    QGuiApplication::clipboard()->setMimeData(mime);
    Form1 form({false, {}});
    form.Form_Load();
    QVERIFY(form.Label1()->Caption() == u"<b>bold</b> title");
    QCOMPARE(form.Label1()->textFormat(), Qt::PlainText);
    QCOMPARE(form.Label1()->text(), QStringLiteral("<b>bold</b> title"));
    QVERIFY(form.Text1()->Text() == u"<b>bold</b> Title");
    // HTML alone (no plain text) and an image alone read as no text.
    auto* htmlOnly = new QMimeData;
    htmlOnly->setHtml(QStringLiteral("<i>x</i>"));
    QGuiApplication::clipboard()->setMimeData(htmlOnly);
    form.Command1_Click(1);
    QVERIFY(form.Label1()->Caption().empty());
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(image);
    form.Command1_Click(2);
    QVERIFY(form.Text1()->Text().empty());
    QVERIFY(form.isVisible());
  }

  void largeClipboard() {
    // 10 MB of letter-spaced lines: every button completes, nothing is lost.
    std::u16string big;
    while (big.size() < 5'000'000) big += u"t h e   g e o t h e r m a l , f i e l d s\r\n";
    SetClipboard(big);
    QCOMPARE(Clipboard().size(), big.size());
    QVERIFY(Clipboard() == big);
    Form1 form({false, {}});
    form.Form_Load();
    QVERIFY(form.Label1()->Caption() == big);
    QVERIFY(form.Text1()->Text() == CleanTitle(big));
    for (int index : {1, 6, 2, 8, 7, 6}) form.Command1_Click(index);
    QVERIFY(form.Label1()->Caption() == big);
    const std::u16string expected = SquishText(SquishText(JustLineBreaks2(big), form.Words()), form.Words());
    QVERIFY(form.Text1()->Text() == expected);
    QVERIFY(form.Text2()->Text() == GetAuthorsTitle(CleanTitle(big)).Authors);
    form.Command1_Click(4);
    QVERIFY(Clipboard() == form.Text2()->Text());
    form.Command1_Click(5);
    QVERIFY(Clipboard() == form.Text3()->Text());
    form.Command1_Click(0);
    QVERIFY(Clipboard() == expected);
  }

  void tenMegabytesWithoutASpace() {
    const std::u16string big(5'000'000, u'x');
    std::u16string capitalised = big;
    capitalised[0] = u'X';
    SetClipboard(big);
    Form1 form({false, {}});
    form.Form_Load();
    QVERIFY(form.Label1()->Caption() == big);
    QVERIFY(form.Text1()->Text() == capitalised);
    for (int index : {1, 2, 8, 7}) form.Command1_Click(index);
    QVERIFY(form.Text1()->Text() == big);
    QVERIFY(form.Text2()->Text() == capitalised);
    form.Command1_Click(0);
    QVERIFY(Clipboard() == big);
  }

  void screenshots() {
    SetClipboard(u"THE GEOLOGY OF THE\r\n\tWAIRAKEI GEOTHERMAL FIELD, NEW ZEALAND; grindley, g.w.");
    Form1 form({false, {}});
    form.Form_Load();
    const QString dir = QStringLiteral(TF_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    QVERIFY(form.grab().save(dir + "/window-compact.png"));
    form.Command1_Click(1);
    form.Command1_Click(6);
    QVERIFY(form.grab().save(dir + "/window-expanded.png"));
  }

  void wordListWarning() {
    // A word list that cannot be read: the window still works, with the
    // built-in words, and says why in a window that does not block it.
    const QString folder = QDir::tempPath() + "/tf-window-list-dir";
    QDir().mkpath(folder);
    SetClipboard(u"x w e l l s y");
    Form1 form({true, folder.toStdString()});
    form.Form_Load();
    QCOMPARE(form.Words().NumWords(), size_t{268});
    QMessageBox* box = form.findChild<QMessageBox*>();
    QVERIFY(box != nullptr);
    QVERIFY(box->isVisible());
    QCOMPARE(box->windowModality(), Qt::NonModal);
    QVERIFY(box->text().contains(folder));
    form.Command1_Click(7);
    QVERIFY(form.Text1()->Text() == u"X wells Y");
    QDir().rmdir(folder);
  }

  // Last: ending is for the whole program.
  void quitDuringSquish() {
    SetClipboard(u"x");
    Form1 form({false, {}});
    form.Form_Load();
    form.Text1()->SetText(u"x h e a t y");
    // A refresh and then Quit clicked while the squish processes events:
    // Quit, queued behind, runs first, and nothing runs after it.
    ClickDuringCommand(&form, {form.Command1(1), form.Command1(3)});
    SetClipboard(u"changed");
    form.Command1_Click(7);
    QVERIFY(pf::Ending());
    QVERIFY(!form.isVisible());
    QVERIFY(form.Text1()->Text() == u"x h e a t y");  // stopped before the squish
    QVERIFY(form.Label1()->Caption() == u"x");        // the refresh never ran
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    // Nothing runs any more.
    form.Command1_Click(6);
    QVERIFY(!form.MoreShown());
  }
};

}  // namespace tf

QTEST_MAIN(tf::WindowTest)
#include "window_test.moc"
