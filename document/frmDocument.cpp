#include "document/frmDocument.h"

#include "document/TextField.h"
#include "platform/Failure.h"
#include "platform/ShowError.h"
#include "platform/Twips.h"
#include "tree/clsTreeView.h"
#include "tree/TreeDrawing.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <limits>

namespace {

struct DetailField
{
    const char* labelName;
    const char* caption;
    const char* fieldName;
    int labelLeft;
    int fieldLeft;
    int top;
};

constexpr int LeftLabel = 5040, LeftField = 6000, RightLabel = 8160, RightField = 9120;
constexpr int Row(int index) { return 120 + 360 * index; }

// Left column top to bottom, then the right column.
constexpr DetailField DetailFields[] = {
    {"Label1", "Adresstyp", "txtTyp", LeftLabel, LeftField, Row(0)},
    {"lblName", "Anrede", "txtAnrede", LeftLabel, LeftField, Row(1)},
    {"Label2", "Name/Firma", "txtName", LeftLabel, LeftField, Row(2)},
    {"Label3", "Name 2", "txtName2", LeftLabel, LeftField, Row(3)},
    {"Label5", "Name 3", "txtName3", LeftLabel, LeftField, Row(4)},
    {"Label4", "Abteilung", "txtAbteilung", LeftLabel, LeftField, Row(5)},
    {"Label6", "Strasse", "txtStrasse", LeftLabel, LeftField, Row(6)},
    {"Label7", "PLZ", "txtPLZ", LeftLabel, LeftField, Row(7)},
    {"Label9", "Land", "txtLand", LeftLabel, LeftField, Row(8)},
    {"Label8", "Telefon", "txtTelefon", LeftLabel, LeftField, Row(9)},
    {"Label10", "Telefon 2", "txtTelefon2", LeftLabel, LeftField, Row(10)},
    {"Label11", "Email", "txtEmail", LeftLabel, LeftField, Row(11)},
    {"Label13", "Kennzeichen", "txtKennzeichen", LeftLabel, LeftField, Row(12)},
    {"Label12", "Titel", "txtTitel", RightLabel, RightField, Row(1)},
    {"Label14", "Vorname", "txtVorname", RightLabel, RightField, Row(2)},
    {"Label16", "Funktion", "txtFunktion", RightLabel, RightField, Row(5)},
    {"Label19", "Ort", "txtOrt", RightLabel, RightField, Row(7)},
    {"Label20", "Fax", "txtFax", RightLabel, RightField, Row(9)},
    {"Label22", "Mobiltelefon", "txtMobiltelefon", RightLabel, RightField, Row(10)},
    {"Label23", "Internet", "txtInternet", RightLabel, RightField, Row(11)},
};

constexpr const char* TabOrderAfterTree[] = {
    "txtAnrede", "txtName", "txtName2", "txtAbteilung", "txtName3", "txtStrasse", "txtPLZ",
    "txtTelefon", "txtLand", "txtTelefon2", "txtEmail", "txtTitel", "txtKennzeichen", "txtVorname",
    "txtFunktion", "txtOrt", "txtFax", "txtMobiltelefon", "txtInternet", "txtTyp",
};

constexpr int FieldWidth = 2000, FieldHeight = 285;
constexpr int LabelWidth = 945, LabelHeight = 255, LabelDrop = 45;

QList<QIcon> TreeImages()
{
    return {QIcon(QStringLiteral(":/icons/book-open.svg")), QIcon(QStringLiteral(":/icons/book-closed.svg")),
            QIcon(QStringLiteral(":/icons/page.svg")), QIcon(QStringLiteral(":/icons/orgchart.svg"))};
}

}

frmDocument::frmDocument(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDocument"));
    setWindowTitle(QStringLiteral("frmDocument"));
    setAttribute(Qt::WA_DeleteOnClose);
    CreateControls();
}

void frmDocument::CreateControls()
{
    // Each caption needs room up to its field, with a gap before it.
    TwipLayout layout(font());
    for (const DetailField& entry : DetailFields)
        layout.MakeRoom(QString::fromUtf8(entry.caption), entry.fieldLeft - entry.labelLeft, 1);
    setFixedSize(layout.Size(11355, 5565));

    trvBaum = new clsTreeView(this);
    trvBaum->setObjectName(QStringLiteral("trvBaum"));
    trvBaum->setAccessibleName(QStringLiteral("Adressen"));
    trvBaum->setGeometry(layout.Rect(120, 120, 4815, 5295));
    trvBaum->Nodes().SetImageList(TreeImages());
    connect(trvBaum, &clsTreeView::Click, this, &frmDocument::trvBaum_Click);

    for (const DetailField& entry : DetailFields) {
        auto* label = new QLabel(QString::fromUtf8(entry.caption), this);
        label->setObjectName(QString::fromLatin1(entry.labelName));
        label->setGeometry(layout.Rect(entry.labelLeft, entry.top + LabelDrop, LabelWidth, LabelHeight));

        auto* field = new TextField(this);
        field->setObjectName(QString::fromLatin1(entry.fieldName));
        field->setGeometry(layout.Rect(entry.fieldLeft, entry.top, FieldWidth, FieldHeight));
        // Screen readers announce the field by its label's caption.
        label->setBuddy(field);
        m_fieldsByName.insert(field->objectName().toLower(), field);
    }

    QWidget* previous = trvBaum;
    for (const char* name : TabOrderAfterTree) {
        QWidget* next = m_fieldsByName.value(QString::fromLatin1(name).toLower());
        setTabOrder(previous, next);
        previous = next;
    }
}

qint32 frmDocument::NextID()
{
    const auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    const QMdiArea* workspace = frame ? frame->mdiArea() : nullptr;
    const QMdiSubWindow* current = workspace ? workspace->currentSubWindow() : nullptr;
    auto* active = current ? qobject_cast<frmDocument*>(current->widget()) : nullptr;
    if (!active)
        throw Failure::MissingObject();
    if (active->m_lngID == std::numeric_limits<qint32>::max())
        throw Failure::Overflow();
    active->m_lngID += 1;
    return active->m_lngID;
}

QLineEdit* frmDocument::FieldForColumn(const QString& key) const
{
    const QString name = QStringLiteral("txt") + key;
    QLineEdit* field = m_fieldsByName.value(name.toLower());
    if (!field)
        throw Failure(QStringLiteral("Steuerelement '%1' nicht gefunden.").arg(name));
    return field;
}

void frmDocument::ClearFields()
{
    for (QLineEdit* field : std::as_const(m_fieldsByName))
        field->clear();
}

void frmDocument::ForgetShownAddress()
{
    m_objAktAdresse.reset();
    ClearFields();
}

void frmDocument::MakeRootCurrent()
{
    if (trvBaum->Nodes().Count() > 0)
        trvBaum->SelectItem(0);
}

void frmDocument::ShowAdresse()
{
    try {
        // A field whose column the address lacks must not keep another's text.
        ClearFields();
        if (!m_objAktAdresse)
            throw Failure::MissingObject();
        for (const auto& [key, value] : m_objAktAdresse->m_dicSpalten) {
            if (key == QLatin1String("Node"))
                continue;
            QLineEdit* field = FieldForColumn(key);
            field->setText(value.Text());
            // A long value is read from its start, as it is in the tree.
            field->setCursorPosition(0);
        }
    } catch (...) {
        ShowError(objectName(), QStringLiteral("ShowAdresse"));
    }
}

// Every click in the tree, on a node or on empty space, shows the record of
// the selected node. Nothing here adds a key to any record.
void frmDocument::trvBaum_Click()
{
    m_objAktAdresse = std::make_shared<clsAdresse>();

    const TreeNodeModel& nodes = trvBaum->Nodes();
    const int selected = trvBaum->SelectedItem();
    if (nodes.Count() == 0 || selected == TreeNodeModel::NoNode || !m_objFirma)
        return;

    // The keys from the clicked node up to the top-level node below the root.
    QStringList keys;
    for (int node = selected; node != TreeNodeModel::NoNode && !TreeNodes::IsRootKey(nodes.Key(node));
         node = nodes.Parent(node))
        keys.append(nodes.Key(node));
    if (keys.isEmpty())
        return;

    const clsDictionary<AdresseRef>* level = &m_objFirma->m_dicAdressen;
    AdresseRef reached;
    for (auto key = keys.crbegin(); key != keys.crend(); ++key) {
        const AdresseRef* found = level->Find(TreeNodes::RecordKeyOf(*key));
        if (!found || !*found)
            return;
        reached = *found;
        level = &reached->m_dicAdressen;
    }

    m_objAktAdresse = reached;
    ShowAdresse();
}
