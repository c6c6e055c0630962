"""The end-to-end harness: a desktop of its own, the program driven from outside, floppy
images and Wine's cmd. Journeys use it through journey.Journey."""
