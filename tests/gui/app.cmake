# GUI tests of this area are added here.
