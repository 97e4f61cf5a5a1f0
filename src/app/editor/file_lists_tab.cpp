#include "file_lists_tab.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "data/file_names.h"
#include "data/whole_file.h"
#include "edit/file_lists.h"
#include "route_table_texts.h"
#include "shown_text.h"
#include "video_placement.h"

namespace ts::editor {

namespace {

const ColumnDesc* columnOf(const std::string& marker, int column) {
    const SectionDesc* s = edit::fileListSection(marker);
    if (!s || column < 0 || column >= int(s->columns.size())) return nullptr;
    return &s->columns[size_t(column)];
}

}  // namespace

QString fileListTitle(const std::string& marker) {
    if (marker == "[SoundData]") return FileListsTab::tr("Route sounds");
    if (marker == "[KankoSound1]") return FileListsTab::tr("Call-out waves (28)");
    if (marker == "[KankoSound2]") return FileListsTab::tr("More call-outs");
    if (marker == "[SignImageList]") return FileListsTab::tr("Sign pictures");
    if (marker == "[OtherImageList]") return FileListsTab::tr("Other pictures and their waves");
    if (marker == "[SignalImageList]") return FileListsTab::tr("Signal pictures");
    return QString::fromStdString(marker);
}

// Rows refer to entries by number from 0: the row header shows that number.
FileListModel::FileListModel(edit::RouteDocument& doc, QObject* parent) : DocumentTableModel(0, parent), doc_(doc) {}

void FileListModel::setList(const std::string& marker) {
    resetRows([&] { marker_ = marker; });
}

int FileListModel::rows() const { return doc_.listCount(marker_); }

int FileListModel::columns() const {
    const SectionDesc* s = edit::fileListSection(marker_);
    return s ? int(s->columns.size()) : 0;
}

QString FileListModel::columnName(int column) const {
    const ColumnDesc* c = columnOf(marker_, column);
    return c ? QString::fromStdString(c->name) : QString();
}

std::string FileListModel::cell(int row, int column) const { return doc_.listText(marker_, row, column); }

bool FileListModel::setCell(int row, int column, const std::string& text, std::string* error) {
    return doc_.setListText(marker_, row, column, text, error);
}

QVariant FileListModel::otherRole(const QModelIndex& index, int role) const {
    if (role != Qt::ToolTipRole) return {};
    const std::string text = cell(index.row(), index.column());
    const ColumnDesc* c = columnOf(marker_, index.column());
    if (!c || c->type == ValueType::Text || text.empty()) return {};
    // A name the folder lacks is said where it is seen; the check list says it too.
    if (!QFileInfo::exists(QString::fromStdString(resolveDataPath(text))))
        return FileListsTab::tr("%1 is not in the data folder").arg(shownText(text));
    return shownText(text);
}

// The class is named in full: the translation tools lose the namespace after
// this function's qualified return type and would file its texts elsewhere.
std::string dataFileName(QWidget* parent, const QString& chosen, QString* why) {
    const std::string path = chosen.toStdString();
    if (insideDataFolder(path)) return nameInDataFolder(path);
    const QString name = QFileInfo(chosen).fileName();
    const QString target = QDir::current().filePath(name);
    QMessageBox ask(
        QMessageBox::Question, ts::editor::FileListsTab::tr("Route editor"),
        ts::editor::FileListsTab::tr("%1 lies outside the data folder. A route names its files relative to that "
                                     "folder, so that it moves to another machine whole. Copy it into the folder "
                                     "as %2?")
            .arg(chosen, name),
        QMessageBox::NoButton, parent);
    ask.setObjectName("fileOutsideFolder");
    QPushButton* copy = ask.addButton(ts::editor::FileListsTab::tr("&Copy into the folder"), QMessageBox::AcceptRole);
    copy->setObjectName("copy");
    ask.addButton(QMessageBox::Cancel)->setObjectName("cancel");
    ask.setDefaultButton(copy);
    ask.exec();
    if (ask.clickedButton() != copy) return {};
    QFile from(chosen);
    if (!from.open(QIODevice::ReadOnly)) {
        if (why) *why = ts::editor::FileListsTab::tr("Cannot read %1: %2").arg(chosen, from.errorString());
        return {};
    }
    const QByteArray bytes = from.readAll();
    std::string error;
    bool exists = false;
    if (!createFileWhole(target.toStdString(), std::string_view(bytes.constData(), size_t(bytes.size())), &error,
                         &exists)) {
        if (why)
            *why = exists ? ts::editor::FileListsTab::tr(
                                "The data folder has a file %1 already: choose that one, or rename "
                                "one of them.")
                                .arg(name)
                          : ts::editor::FileListsTab::tr("Cannot copy %1 into the data folder: %2")
                                .arg(chosen, QString::fromStdString(error));
        return {};
    }
    return name.toStdString();
}

FileListsTab::FileListsTab(edit::RouteDocument& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setObjectName("fileLists");
    chooser_ = new QComboBox(this);
    chooser_->setObjectName("fileListChooser");
    for (const SectionDesc* s : edit::fileListSections())
        chooser_->addItem(fileListTitle(s->marker) + "  " + QString::fromStdString(s->marker),
                          QString::fromStdString(s->marker));
    model_ = new FileListModel(doc_, this);
    table_ = new QTableView(this);
    table_->setObjectName("fileListTable");
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    add_ = new QPushButton(tr("&Add..."), this);
    replace_ = new QPushButton(tr("&Choose file..."), this);
    remove_ = new QPushButton(tr("De&lete"), this);
    add_->setObjectName("addEntry");
    replace_->setObjectName("replaceFile");
    remove_->setObjectName("deleteEntries");
    preview_ = new QLabel(this);
    preview_->setObjectName("picturePreview");
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setMinimumSize(220, 220);
    preview_->setFrameShape(QFrame::StyledPanel);
    note_ = new QLabel(tr("Rows refer to an entry by its number (shown at the left, from 0): deleting or adding "
                          "one renumbers those after it."),
                       this);
    note_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(replace_);
    buttons->addWidget(remove_);
    buttons->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addWidget(table_, 1);
    body->addWidget(preview_, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chooser_);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    layout->addWidget(note_);

    connect(chooser_, &QComboBox::currentIndexChanged, this,
            [this](int i) { showList(chooser_->itemData(i).toString().toStdString()); });
    connect(model_, &FileListModel::editRefused, this, &FileListsTab::message);
    // The view keeps its selection model when the list shown changes (a reset, not a new model).
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        updatePreview();
        updateButtons();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { updatePreview(); });
    connect(add_, &QPushButton::clicked, this, [this] { addEntry(); });
    connect(replace_, &QPushButton::clicked, this, [this] { replaceFile(); });
    connect(remove_, &QPushButton::clicked, this, [this] { deleteSelected(); });
    showList(chooser_->itemData(0).toString().toStdString());
}

void FileListsTab::changeEvent(QEvent* e) {
    if (e->type() == QEvent::LanguageChange) {
        for (int i = 0; i < chooser_->count(); ++i) {
            const std::string marker = chooser_->itemData(i).toString().toStdString();
            chooser_->setItemText(i, fileListTitle(marker) + "  " + QString::fromStdString(marker));
        }
        add_->setText(tr("&Add..."));
        replace_->setText(tr("&Choose file..."));
        remove_->setText(tr("De&lete"));
        note_->setText(
            tr("Rows refer to an entry by its number (shown at the left, from 0): deleting or adding "
               "one renumbers those after it."));
        if (model_->columnCount() > 0) emit model_->headerDataChanged(Qt::Horizontal, 0, model_->columnCount() - 1);
        updatePreview();
    }
    QWidget::changeEvent(e);
}

void FileListsTab::showList(const std::string& marker) {
    const int i = chooser_->findData(QString::fromStdString(marker));
    if (i >= 0 && i != chooser_->currentIndex()) {
        chooser_->setCurrentIndex(i);  // comes back here through the signal
        return;
    }
    model_->setList(marker);
    updatePreview();
    updateButtons();
}

void FileListsTab::reload() {
    model_->reload();
    updatePreview();
    updateButtons();
}

void FileListsTab::updateButtons() {
    const SectionDesc* s = edit::fileListSection(model_->marker());
    const bool fixed = s && edit::fixedLength(*s);
    const bool any = table_->selectionModel() && table_->selectionModel()->hasSelection();
    add_->setEnabled(!fixed);
    remove_->setEnabled(!fixed && any);
    replace_->setEnabled(table_->currentIndex().isValid());
    add_->setToolTip(fixed ? tr("This list always holds %1 entries: edit them.").arg(s->capacity) : QString());
}

void FileListsTab::updatePreview() {
    const QModelIndex at = table_->currentIndex();
    const ColumnDesc* c = at.isValid() ? columnOf(model_->marker(), 0) : nullptr;
    if (!c || c->type != ValueType::Picture) {
        preview_->setPixmap({});
        preview_->setText(at.isValid() ? tr("No picture in this list") : tr("Select an entry"));
        return;
    }
    const std::string name = doc_.listText(model_->marker(), at.row(), 0);
    QImage picture(QString::fromStdString(resolveDataPath(name)));
    if (picture.isNull()) {
        preview_->setPixmap({});
        preview_->setText(tr("%1\ncannot be read").arg(shownText(name)));
        return;
    }
    // Signs and signals are small: shown twice as large, as crisp as they are drawn.
    const QSize shown = (picture.size() * 2).boundedTo(preview_->size() - QSize(8, 8));
    preview_->setPixmap(QPixmap::fromImage(
        picture.scaled(shown, Qt::KeepAspectRatio,
                       picture.width() * 2 <= shown.width() ? Qt::FastTransformation : Qt::SmoothTransformation)));
    preview_->setToolTip(tr("%1: %2 × %3").arg(shownText(name)).arg(picture.width()).arg(picture.height()));
}

QString FileListsTab::askFile(int column) {
    const ColumnDesc* c = columnOf(model_->marker(), column);
    if (!c || c->type == ValueType::Text) return {};
    const QString filter = c->type == ValueType::Picture ? tr("Pictures (*.bmp *.png *.jpg);;All files (*)")
                                                         : tr("Sounds (*.wav);;All files (*)");
    return QFileDialog::getOpenFileName(this, tr("Choose a file in the data folder"), QDir::currentPath(), filter);
}

int FileListsTab::addEntry(const QString& file) {
    const SectionDesc* s = edit::fileListSection(model_->marker());
    if (!s || edit::fixedLength(*s)) return -1;
    // The first file column gets the file; a text column first ([KankoSound2]) waits to be typed.
    int fileColumn = 0;
    while (fileColumn < int(s->columns.size()) && s->columns[size_t(fileColumn)].type == ValueType::Text) ++fileColumn;
    std::vector<std::string> values(s->columns.size());
    if (fileColumn < int(s->columns.size())) {
        const QString chosen = file.isEmpty() ? askFile(fileColumn) : file;
        if (chosen.isEmpty()) return -1;
        QString why;
        const std::string name = dataFileName(this, chosen, &why);
        if (name.empty()) {
            if (!why.isEmpty()) emit message(why);
            return -1;
        }
        values[size_t(fileColumn)] = name;
    }
    int after = -1;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows()) after = std::max(after, i.row());
    const int at = after >= 0 ? after + 1 : doc_.listCount(model_->marker());
    std::string error;
    const int row = doc_.addListEntry(model_->marker(), at, values, &error);
    if (row < 0) {
        emit message(QString::fromStdString(error));
        return -1;
    }
    table_->selectRow(row);
    table_->setCurrentIndex(model_->index(row, 0));
    return row;
}

bool FileListsTab::replaceFile(const QString& file) {
    const QModelIndex at = table_->currentIndex();
    if (!at.isValid()) return false;
    int column = at.column();
    const ColumnDesc* c = columnOf(model_->marker(), column);
    if (c && c->type == ValueType::Text) ++column;  // the call-out's wave beside its text
    if (!columnOf(model_->marker(), column)) return false;
    const QString chosen = file.isEmpty() ? askFile(column) : file;
    if (chosen.isEmpty()) return false;
    QString why;
    const std::string name = dataFileName(this, chosen, &why);
    if (name.empty()) {
        if (!why.isEmpty()) emit message(why);
        return false;
    }
    std::string error;
    if (!doc_.setListText(model_->marker(), at.row(), column, name, &error)) {
        emit message(QString::fromStdString(error));
        return false;
    }
    return true;
}

void FileListsTab::deleteSelected() {
    std::vector<int> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows()) rows.push_back(i.row());
    if (rows.empty()) return;
    const int first = *std::min_element(rows.begin(), rows.end());
    if (!doc_.removeListEntries(model_->marker(), rows)) return;
    const int left = doc_.listCount(model_->marker());
    if (left > 0) table_->selectRow(std::min(first, left - 1));
}

}  // namespace ts::editor
