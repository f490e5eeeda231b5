# Windows of the shell are added here as they are written.
