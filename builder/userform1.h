#pragma once

#include <QWidget>

namespace app {
class Program;
}  // namespace app

namespace builder {

// The layer-set builder.
class UserForm1 : public QWidget {
    Q_OBJECT
public:
    explicit UserForm1(app::Program& program);
    ~UserForm1() override;

private:
    app::Program& m_program;
};

}  // namespace builder
