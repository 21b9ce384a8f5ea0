#pragma once
// The editable grid of the teacher data dialog: the first two columns stay in place
// and are never edited, Enter moves on like Tab, the masked columns accept only what
// can fit their masks, and a changed row is posted when the user leaves it or the
// grid; a row that does not fit its masks keeps the user on the refused cell.

#include <QKeyEvent>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

#include "app/ModeloProft.h"

namespace varnolo {

/// Line editors with the column's mask validator; Enter commits and moves on.
class DelegadoMascaras : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* padre, const QStyleOptionViewItem& opcion,
                          const QModelIndex& indice) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& indice) const override {
        if (editor == editor_) editor_ = nullptr;
        QStyledItemDelegate::destroyEditor(editor, indice);
    }
    /// The editor open now, if any.
    QWidget* editorAbierto() const { return editor_; }

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    mutable QPointer<QWidget> editor_;
};

/// The grid's current cell: it leaves a row with changes only once the row is
/// posted, whatever moves it (keys, the mouse, the navigator).
class SeleccionProft;

class RejillaProft : public QTableView {
    Q_OBJECT
  public:
    RejillaProft(ModeloProft* modelo, QWidget* padre, const QFont& letra);
    /// Shows a refusal to the user; a message box unless a test replaces it.
    std::function<void(const QString&)> avisar;

    /// Commits the open editor and posts the pending row. On a refusal the cell of
    /// the failing field gets the focus, the message is shown, and false returned.
    bool terminarEdicion();
    /// Drops the open editor and the pending changes.
    void cancelarEdicion();
    /// Moves to a row, keeping the column (an editable one).
    void irAFila(int fila);

    /// Whether the current cell may move to `destino`: always within the row in
    /// edit; to another row only after the row's changes (the open editor's text
    /// included) are posted. A refused post brings the user back to the refused cell.
    bool puedeIrA(const QModelIndex& destino);
    using QTableView::edit;

  protected:
    /// Only the row in edit can open an editor while it has changes to post.
    bool edit(const QModelIndex& indice, EditTrigger disparador, QEvent* evento) override;
    void currentChanged(const QModelIndex& actual, const QModelIndex& anterior) override;
    /// Enter and Tab in an editor: the next cell's editor opens only when the move
    /// to it is not refused.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint pista) override;
    QModelIndex moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void scrollTo(const QModelIndex& indice, ScrollHint pista = EnsureVisible) override;

  private:
    void rechazar(int fila, int columna);
    /// Ctrl+Tab and Ctrl+Shift+Tab: posts the row and gives the focus to the next or
    /// previous control of the dialog.
    void salirDeLaRejilla(bool adelante);
    void colocarVistaFija();

    ModeloProft* modelo_;
    DelegadoMascaras* delegado_;
    QTableView* vistaFija_;
    bool volviendo_ = false;
    bool rechazoProgramado_ = false;
};

/// Ctrl+Tab or Ctrl+Shift+Tab, the keys that leave an item view.
bool esSalidaDeRejilla(const QKeyEvent* tecla);

}  // namespace varnolo
