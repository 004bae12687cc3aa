-- Parameter database: the municipality of the installation.

CREATE TABLE TABMUN (
  CODMUN VARCHAR(7)  NOT NULL,
  NOME   VARCHAR(37) NOT NULL
);
