#include "app/RejillaProft.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolTip>

#include <QScrollBar>
#include <QTimer>
#include "app/DialogosVentana.h"

namespace varnolo {

namespace {
bool esEnter(const QKeyEvent* k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }
}  // namespace

bool esSalidaDeRejilla(const QKeyEvent* k) {
    return (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) &&
           (k->modifiers() & Qt::ControlModifier);
}

class SeleccionProft : public QItemSelectionModel {
  public:
    SeleccionProft(QAbstractItemModel* modelo, RejillaProft* rejilla)
        : QItemSelectionModel(modelo, rejilla), rejilla_(rejilla) {}

    void setCurrentIndex(const QModelIndex& indice, SelectionFlags orden) override {
        if (rejilla_->puedeIrA(indice)) QItemSelectionModel::setCurrentIndex(indice, orden);
    }
    void select(const QItemSelection& seleccion, SelectionFlags orden) override {
        // A refused move leaves the selection on the current cell, too.
        const QModelIndex actual = currentIndex();
        for (const QModelIndex& i : seleccion.indexes()) {
            if (actual.isValid() && i.row() != actual.row() && !rejilla_->puedeIrA(i)) return;
        }
        QItemSelectionModel::select(seleccion, orden);
    }
    using QItemSelectionModel::select;

  private:
    RejillaProft* rejilla_;
};

QWidget* DelegadoMascaras::createEditor(QWidget* padre, const QStyleOptionViewItem&,
                                        const QModelIndex& indice) const {
    auto* editor = new QLineEdit(padre);
    editor->setFrame(false);
    editor->setMaxLength(ModeloProft::anchoCaracteres(indice.column()));
    const QString mascara = ModeloProft::mascara(indice.column());
    if (!mascara.isEmpty()) {
        editor->setValidator(new ValidadorMascara(mascara, editor));
        // What the mask refuses is refused visibly: a beep and what the cell takes.
        const QString pista = indice.column() == ModeloProft::ColTomaPos
                                  ? QStringLiteral("F_TOMAPOS: una fecha dd/mm/aaaa, solo cifras")
                                  : QStringLiteral("X_EMPLEADO: solo cifras");
        connect(editor, &QLineEdit::inputRejected, editor, [editor, pista] {
            QApplication::beep();
            QToolTip::showText(editor->mapToGlobal(QPoint(0, editor->height())), pista, editor);
        });
    }
    editor_ = editor;
    return editor;
}

bool DelegadoMascaras::eventFilter(QObject* objeto, QEvent* evento) {
    // Ctrl+Tab goes on to the grid, which leaves it; the editor is not left as by Tab.
    if (evento->type() == QEvent::KeyPress && esSalidaDeRejilla(static_cast<QKeyEvent*>(evento))) {
        return false;
    }
    if (evento->type() == QEvent::KeyPress && esEnter(static_cast<QKeyEvent*>(evento))) {
        if (auto* editor = qobject_cast<QWidget*>(objeto)) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::EditNextItem);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(objeto, evento);
}

RejillaProft::RejillaProft(ModeloProft* modelo, QWidget* padre, const QFont& letra)
    : QTableView(padre), modelo_(modelo), delegado_(new DelegadoMascaras(this)) {
    setFont(letra);
    // A value refused by its mask is the grid's error, shown in the error box.
    avisar = [this](const QString& texto) {
        mostrarAviso(this, avisoDe(ClaseAviso::Error, texto));
    };
    setModel(modelo_);
    QItemSelectionModel* anterior = selectionModel();
    setSelectionModel(new SeleccionProft(modelo_, this));
    delete anterior;
    setItemDelegate(delegado_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setAlternatingRowColors(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTabKeyNavigation(true);
    verticalHeader()->hide();
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    const QFontMetrics fm(font());
    QFont negrita = horizontalHeader()->font();
    negrita.setBold(true);
    horizontalHeader()->setFixedHeight(QFontMetrics(negrita).lineSpacing() * 2 + 6);
    for (int c = 0; c < ModeloProft::NumColumnas; ++c) {
        const int ancho = fm.averageCharWidth() * std::max(ModeloProft::anchoCaracteres(c), 4) + 12;
        setColumnWidth(
            c,
            std::max(ancho, QFontMetrics(negrita).horizontalAdvance(ModeloProft::campo(c)) + 12));
    }

    // The fixed columns: a second view over the same model laid over the first two
    // columns, sharing the selection, scrolled only vertically.
    vistaFija_ = new QTableView(this);
    vistaFija_->setFont(letra);
    vistaFija_->setObjectName(QStringLiteral("ProftDBGridFijas"));
    vistaFija_->setModel(modelo_);
    vistaFija_->setSelectionModel(selectionModel());
    vistaFija_->setFocusPolicy(Qt::NoFocus);
    vistaFija_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vistaFija_->setAlternatingRowColors(true);
    vistaFija_->verticalHeader()->hide();
    vistaFija_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    vistaFija_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    vistaFija_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    vistaFija_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    vistaFija_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    vistaFija_->setFrameShape(QFrame::NoFrame);
    for (int c = 0; c < ModeloProft::NumColumnas; ++c) {
        vistaFija_->setColumnHidden(c, c >= ModeloProft::kColumnasFijas);
        if (c < ModeloProft::kColumnasFijas) vistaFija_->setColumnWidth(c, columnWidth(c));
    }
    viewport()->stackUnder(vistaFija_);
    vistaFija_->show();
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, vistaFija_->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(vistaFija_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(modelo_, &QAbstractItemModel::modelReset, this, [this] {
        for (int c = 0; c < ModeloProft::NumColumnas; ++c) {
            vistaFija_->setColumnHidden(c, c >= ModeloProft::kColumnasFijas);
        }
        if (modelo_->rowCount() > 0) setCurrentIndex(modelo_->index(0, ModeloProft::ColEmpleado));
    });
    colocarVistaFija();
}

void RejillaProft::colocarVistaFija() {
    int ancho = 0;
    for (int c = 0; c < ModeloProft::kColumnasFijas; ++c) ancho += columnWidth(c);
    vistaFija_->setGeometry(frameWidth(), frameWidth(), ancho,
                            viewport()->height() + horizontalHeader()->height());
}

void RejillaProft::resizeEvent(QResizeEvent* evento) {
    QTableView::resizeEvent(evento);
    colocarVistaFija();
}

void RejillaProft::scrollTo(const QModelIndex& indice, ScrollHint pista) {
    // Editable cells are never scrolled beneath the fixed columns.
    if (indice.column() >= ModeloProft::kColumnasFijas)
        QTableView::scrollTo(indice, pista);
    else
        QTableView::scrollTo(indice.siblingAtColumn(ModeloProft::ColEmpleado), pista);
}

QModelIndex RejillaProft::moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) {
    const QModelIndex actual = currentIndex();
    const int ultima = ModeloProft::NumColumnas - 1;
    const int primera = ModeloProft::kColumnasFijas;
    if (actual.isValid()) {
        const int f = actual.row(), c = actual.column();
        if (accion == MoveNext) {
            if (c < ultima) return modelo_->index(f, c + 1);
            return f + 1 < modelo_->rowCount() ? modelo_->index(f + 1, primera) : actual;
        }
        if (accion == MovePrevious) {
            if (c > primera) return modelo_->index(f, c - 1);
            return f > 0 ? modelo_->index(f - 1, ultima) : actual;
        }
        if ((accion == MoveLeft || accion == MoveHome) && c <= primera) {
            return modelo_->index(f, primera);
        }
    }
    QModelIndex i = QTableView::moveCursor(accion, modificadores);
    if (i.isValid() && i.column() < primera) i = i.siblingAtColumn(primera);
    return i;
}

void RejillaProft::keyPressEvent(QKeyEvent* evento) {
    if (esSalidaDeRejilla(evento)) {
        salirDeLaRejilla(evento->key() == Qt::Key_Tab &&
                         !(evento->modifiers() & Qt::ShiftModifier));
        return;
    }
    if (esEnter(evento)) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QTableView::keyPressEvent(&tab);
        return;
    }
    // No rows are inserted or deleted from the keyboard.
    if (evento->key() == Qt::Key_Insert || evento->key() == Qt::Key_Delete) return;
    QTableView::keyPressEvent(evento);
}

bool RejillaProft::puedeIrA(const QModelIndex& destino) {
    if (volviendo_ || !destino.isValid()) return true;
    const QModelIndex actual = currentIndex();
    if (actual.isValid() && actual.row() != destino.row()) {
        // The text being typed belongs to the row that is being left.
        if (QWidget* editor = delegado_->editorAbierto()) commitData(editor);
    }
    const int pendiente = modelo_->filaPendiente();
    if (pendiente < 0 || destino.row() == pendiente) return true;
    const auto columna = modelo_->postear();
    if (!columna) return true;
    if (!rechazoProgramado_) {
        // Back to the refused cell once the click or key that tried to move is over.
        rechazoProgramado_ = true;
        QTimer::singleShot(0, this, [this, pendiente, c = *columna] { rechazar(pendiente, c); });
    }
    return false;
}

bool RejillaProft::edit(const QModelIndex& indice, EditTrigger disparador, QEvent* evento) {
    const int pendiente = modelo_->filaPendiente();
    if (pendiente >= 0 && indice.isValid() && indice.row() != pendiente) return false;
    return QTableView::edit(indice, disparador, evento);
}

void RejillaProft::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint pista) {
    if (pista != QAbstractItemDelegate::EditNextItem &&
        pista != QAbstractItemDelegate::EditPreviousItem) {
        QTableView::closeEditor(editor, pista);
        return;
    }
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    const QModelIndex destino = moveCursor(
        pista == QAbstractItemDelegate::EditNextItem ? MoveNext : MovePrevious, Qt::NoModifier);
    if (!destino.isValid()) return;
    setCurrentIndex(destino);
    if (currentIndex() == destino) edit(destino);
}

void RejillaProft::currentChanged(const QModelIndex& actual, const QModelIndex& anterior) {
    QTableView::currentChanged(actual, anterior);  // commits the open editor first
    if (volviendo_) return;
    if (actual.isValid() && actual.column() < ModeloProft::kColumnasFijas) {
        const QModelIndex editable = actual.siblingAtColumn(ModeloProft::ColEmpleado);
        QTimer::singleShot(0, this, [this, editable] {
            if (currentIndex().row() == editable.row()) setCurrentIndex(editable);
        });
    }
}

void RejillaProft::rechazar(int fila, int columna) {
    rechazoProgramado_ = false;
    volviendo_ = true;
    const QModelIndex celda = modelo_->index(fila, columna);
    setCurrentIndex(celda);
    selectionModel()->select(celda, QItemSelectionModel::ClearAndSelect);
    volviendo_ = false;
    setFocus();
    avisar(QStringLiteral("Invalid characters. Field : ") + ModeloProft::campo(columna));
    edit(celda);
}

void RejillaProft::salirDeLaRejilla(bool adelante) {
    if (!terminarEdicion()) return;
    setFocus();
    QWidget::focusNextPrevChild(adelante);
}

bool RejillaProft::terminarEdicion() {
    if (QWidget* editor = delegado_->editorAbierto()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    const int pendiente = modelo_->filaPendiente();
    if (const auto columna = modelo_->postear()) {
        rechazar(pendiente, *columna);
        return false;
    }
    return true;
}

void RejillaProft::cancelarEdicion() {
    if (QWidget* editor = delegado_->editorAbierto()) {
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    }
    modelo_->cancelar();
}

void RejillaProft::irAFila(int fila) {
    if (modelo_->rowCount() == 0) return;
    fila = std::clamp(fila, 0, modelo_->rowCount() - 1);
    const int columna = std::max(currentIndex().column(), int(ModeloProft::ColEmpleado));
    setCurrentIndex(modelo_->index(fila, columna));
    setFocus();
}

}  // namespace varnolo
