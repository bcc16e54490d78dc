#include "DBText.h"

#include "store/Field.h"

TDBText::TDBText(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    m_link.OnDataChange = [this] {
        const TField* field = m_link.Field();
        setText(field ? field->DisplayText() : QString());
    };
}
