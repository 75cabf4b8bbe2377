#!/usr/bin/env python3
"""The house checks measured on sources made for the purpose: each layout clang-format gives a definition
(multi-line headers, constructors with initialisers, members in a class, lambdas, initialised tables),
trees with a file or a function just past the limit, and trees whose folders include each other as the
layers allow or not.

    tests/house/house_checks_test.py TOOLS_DIR
"""

import importlib.util
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # nothing written into the source tree

TOOLS = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "tools")


def load(name):
    spec = importlib.util.spec_from_file_location(name.replace("-", "_"), os.path.join(TOOLS, name + ".py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


functions = load("check-function-length")
files = load("check-file-length")
includes = load("check-includes")
names = load("check-logic-names")


def measured(text):
    return [(name, end - start + 1) for start, end, name in functions.functions(text.split("\n"))]


class FunctionLength(unittest.TestCase):
    def test_each_layout_of_a_definition_is_one_function_of_its_lines(self):
        cases = [
            ("int one() {\n    return 1;\n}\n", [("one", 3)]),
            # The header's last line is indented to its parenthesis; the body closes at the header's start.
            ("tiermark::Result<int> Workspace::open(const std::u16string& path, bool,\n"
             "                                      std::u16string_view connect) {\n"
             "    if (path.empty()) {\n        return 0;\n    }\n    return 1;\n}\n",
             [("Workspace::open", 7)]),
            ("Judge::Judge(const Standard& standard)\n    : m_standard(standard), m_count(0) {\n"
             "    build();\n}\n", [("Judge::Judge", 4)]),
            # Members defined in a class count each, the class does not.
            ("class Reader {\npublic:\n    explicit Reader(int n) : m_n(n) {}\n    int next() {\n"
             "        return ++m_n;\n    }\n\nprivate:\n    int m_n;\n};\n", [("next", 3)]),
            # An initialised table is no function; a function after it is.
            ("constexpr std::array kTable = std::to_array<Row>({\n    {1, 2},\n    {3, 4},\n});\n"
             "void after() {\n}\n", [("after", 2)]),
            # A lambda inside a function belongs to it.
            ("void outer() {\n    const auto f = [](int x) {\n        return x;\n    };\n    f(1);\n}\n",
             [("outer", 6)]),
            ("namespace a {\nnamespace {\nvoid inner() {\n    // }\n}\n}  // namespace\n}  // namespace a\n",
             [("inner", 3)]),
            ("enum class Step {\n    Group,\n    End,\n};\nstruct S {\n    int f() const { return 1; }\n};\n", []),
        ]
        for text, expected in cases:
            with self.subTest(text=text.split("\n")[0]):
                self.assertEqual(measured(text), expected)

    def test_a_tree_fails_only_past_the_limit(self):
        with tempfile.TemporaryDirectory() as root:
            body = "".join(f"    x += {i};\n" for i in range(77))
            os.makedirs(os.path.join(root, "logic"))
            os.makedirs(os.path.join(root, "tests"))
            with open(os.path.join(root, "logic", "a.cpp"), "w", encoding="utf-8") as out:
                out.write("void fits(int& x) {\n" + body + "}\n")  # 79 lines
            with open(os.path.join(root, "tests", "long_test.cpp"), "w", encoding="utf-8") as out:
                out.write("void long_test(int& x) {\n" + body * 2 + "}\n")  # tests are not measured
            self.assertEqual(functions.main([root]), 0)
            with open(os.path.join(root, "logic", "b.cpp"), "w", encoding="utf-8") as out:
                out.write("void past(int& x) {\n" + body + "    x += 1;\n    x += 2;\n}\n")  # 81 lines
            self.assertEqual(functions.main([root]), 1)
            self.assertEqual(functions.main(["--limit", "81", root]), 0)


class FileLength(unittest.TestCase):
    def test_a_tree_fails_only_past_the_limit_and_not_for_tests(self):
        with tempfile.TemporaryDirectory() as root:
            for folder in ("dxf", "tools/road", "tests", "bench", "build"):
                os.makedirs(os.path.join(root, folder))
            for path, lines in (("dxf/a.cpp", 400), ("tools/road/b.h", 399), ("tests/t.cpp", 900),
                                ("bench/b.cpp", 900), ("build/gen.cpp", 900)):
                with open(os.path.join(root, path), "w", encoding="utf-8") as out:
                    out.write("x\n" * lines)
            self.assertEqual(files.main([root]), 0)
            with open(os.path.join(root, "tools/road/c.cpp"), "w", encoding="utf-8") as out:
                out.write("x\n" * 400 + "last line without its end")
            self.assertEqual(files.main([root]), 1)


class Includes(unittest.TestCase):
    # The layers as the tree has them: forms -> core <- app, core on logic and ui, app creating the forms.
    LAYERED = {
        "builder/rows.h": [],
        "ui/controls.h": [],
        "core/navigation.h": [],
        "core/program.h": ["builder/rows.h", "ui/controls.h", "core/navigation.h"],
        "builder/forms/builder_form.h": ["core/program.h", "ui/controls.h"],
        "settings/forms/settings_window.cpp": ["core/navigation.h", "core/program.h"],
        "app/form_registry.cpp": ["builder/forms/builder_form.h", "core/navigation.h"],
        "tests/forms_test.cpp": ["app/form_registry.cpp", "builder/forms/builder_form.h"],
    }

    def breaches(self, extra):
        tree = {path: list(headers) for path, headers in self.LAYERED.items()}
        for path, headers in extra.items():
            tree.setdefault(path, []).extend(headers)
        with tempfile.TemporaryDirectory() as root:
            for path, headers in tree.items():
                os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
                with open(os.path.join(root, path), "w", encoding="utf-8") as out:
                    out.write("".join(f'#include "{header}"\n' for header in headers))
            edges = includes.include_graph(root)
            return includes.layer_breaches(edges), includes.cycles(edges), includes.main([root])

    def test_the_layers_hold(self):
        self.assertEqual(self.breaches({}), ([], [], 0))

    def test_a_form_reaching_app_or_another_form_is_refused_and_no_cycle_is_admitted(self):
        layers, cycles, status = self.breaches({"builder/forms/builder_form.h": ["app/form_registry.cpp"]})
        self.assertEqual(status, 1)
        self.assertEqual(len(layers), 1)
        self.assertIn("a forms folder includes app/form_registry.cpp", layers[0])
        self.assertEqual(cycles, [["app", "builder/forms"]])

        layers, cycles, status = self.breaches(
            {"settings/forms/settings_window.cpp": ["builder/forms/builder_form.h"]})
        self.assertEqual((status, cycles), (1, []))
        self.assertIn("settings/forms/settings_window.cpp: a forms folder includes builder/forms", layers[0])

    def test_core_includes_neither_forms_nor_app_and_logic_not_core(self):
        for extra, breach in (({"core/program.h": ["app/form_registry.cpp"]}, "a core folder includes app/"),
                              ({"core/program.h": ["builder/forms/builder_form.h"]}, "a core folder includes"),
                              ({"builder/rows.h": ["core/navigation.h"]}, "a logic folder includes core/"),
                              ({"ui/controls.h": ["core/navigation.h"]}, "a kit folder includes core/")):
            with self.subTest(extra=extra):
                layers, _, status = self.breaches(extra)
                self.assertEqual(status, 1)
                self.assertTrue(any(breach in line for line in layers), layers)

    def test_a_commands_cli_folder_is_a_program_above_its_logic(self):
        # layercheck/cli (tiermark-check) may use a folder that uses layercheck; layercheck itself may not.
        command = {"translate/run.h": ["builder/rows.h"], "builder/rows.h": [],
                   "layercheck/cli/main.cpp": ["translate/run.h"]}
        self.assertEqual(self.breaches(command), ([], [], 0))
        layers, cycles, status = self.breaches(dict(command, **{"builder/rows.h": ["translate/run.h"]}))
        self.assertEqual((layers, cycles, status), ([], [["builder", "translate"]], 1))


class LogicNames(unittest.TestCase):
    def test_a_widget_name_fails_in_logic_only(self):
        with tempfile.TemporaryDirectory() as root:
            for folder in ("builder/forms", "numbered", "tests/builder", "app"):
                os.makedirs(os.path.join(root, folder))
            for path, text in (("builder/forms/builder_form.cpp", "ListBox6->items();\n"),
                               ("tests/builder/run_test.cpp", "form1().Combo1;\n"),
                               ("app/main_window.cpp", "Combo1->addItem(x);\n"),
                               ("builder/run.h", "// the rows of the chosen drawing kind; ListBoxes\n"),
                               ("numbered/creation.h", "std::u16string nameTail;  // label text\n")):
                with open(os.path.join(root, path), "w", encoding="utf-8") as out:
                    out.write(text)
            self.assertEqual(names.main([root]), 0)
            for text, name in (("bool& label26Visible;\n", "label26"), ("// entries of Combo1\n", "Combo1"),
                               ("int checkBox2 = 0;\n", "checkBox2"), ("std::u16string textBox5;\n", "textBox5"),
                               ("bool optionButton1 = false;\n", "optionButton1")):
                with self.subTest(text=text):
                    with open(os.path.join(root, "numbered", "next.h"), "w", encoding="utf-8") as out:
                        out.write("#pragma once\n" + text)
                    self.assertEqual(names.breaches(root), [("numbered/next.h", 2, name)])
                    self.assertEqual(names.main([root]), 1)


if __name__ == "__main__":
    unittest.main()
