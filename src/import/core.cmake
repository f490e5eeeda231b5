# Sources of this area are added here as they are written.
