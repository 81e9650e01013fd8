// The program's errors as Python exceptions: probex.Error for every message of the program,
// probex.CompileError and probex.RunError for an equation, with its line and position.
#include "python/Bindings.h"

#include <exception>

namespace probex {

namespace {

PyObject* g_error = nullptr;
PyObject* g_compileError = nullptr;
PyObject* g_runError = nullptr;

PyObject* NewError(py::module_& module, const char* name, PyObject* base, const char* doc) {
    const std::string qualified = std::string("probex.") + name;
    PyObject* type = PyErr_NewExceptionWithDoc(qualified.c_str(), doc, base, nullptr);
    if (!type) throw py::error_already_set();
    module.add_object(name, py::handle(type));
    return type;
}

void RaiseEquationFault(const EquationFault& fault) {
    py::object error = py::reinterpret_borrow<py::object>(
        fault.duringRun() ? g_runError : g_compileError)(fault.what());
    error.attr("message") = fault.what();
    error.attr("line") = fault.line();
    error.attr("position") = fault.position();
    error.attr("out_equations") = fault.outEquations();
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
}

} // namespace

void WarnMessages(ProjectSession& session) {
    for (const CollectingPrompter::Message& message : session.prompter().take())
        if (PyErr_WarnEx(PyExc_UserWarning, message.text.c_str(), 1) != 0)
            throw py::error_already_set();
}

void RequireIdle(const ProjectSession& session) {
    if (session.busy()) throw std::logic_error("the project is running: stop() it first");
}

void BindErrors(py::module_& module) {
    g_error =
        NewError(module, "Error", PyExc_Exception, "An error of the program, with its message.");
    g_compileError = NewError(module, "CompileError", g_error,
                              "An equation that does not compile: message, line, position and "
                              "out_equations (True for the out equations).");
    g_runError = NewError(module, "RunError", g_error,
                          "An equation that failed during the run, with its line.");
    py::register_exception_translator([](std::exception_ptr pointer) {
        try {
            if (pointer) std::rethrow_exception(pointer);
        } catch (const EquationFault& fault) {
            RaiseEquationFault(fault);
        } catch (const ProgramError& error) {
            PyErr_SetString(g_error, error.what());
        } catch (const std::logic_error& error) {
            // invalid_argument and domain_error are pybind11's ValueError; keep them so.
            if (dynamic_cast<const std::invalid_argument*>(&error) ||
                dynamic_cast<const std::domain_error*>(&error) ||
                dynamic_cast<const std::out_of_range*>(&error))
                throw;
            PyErr_SetString(PyExc_RuntimeError, error.what());
        }
    });
}

} // namespace probex
