# The headless main window library: defined by its owner.
