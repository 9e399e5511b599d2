# Tests of the headless main window.
