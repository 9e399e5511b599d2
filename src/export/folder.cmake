# Targets of this piece are defined here.
