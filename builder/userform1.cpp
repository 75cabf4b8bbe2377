#include "builder/userform1.h"

#include "app/program.h"

namespace builder {

UserForm1::UserForm1(app::Program& program) : QWidget(nullptr), m_program(program) {
    setObjectName(QStringLiteral("UserForm1"));
    setWindowTitle(QStringLiteral("国土交通省CAD製図基準（案）レイヤーセットプログラム Ver.2007_9"));
}

UserForm1::~UserForm1() = default;

}  // namespace builder
