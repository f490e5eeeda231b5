-- The Integra database: four code registries, the mapping of customer codes to Merlin codes and
-- the processes already returned to Merlin.
--
-- The program writes rows with INSERT ... VALUES and no column list, so the column order below is
-- part of the format. Each table has one index named after the table; the reindex command
-- addresses them by these names.
--
-- "pelomira-cli init-integra FILE" creates a database with DEFAULT CHARACTER SET UTF8 and runs this
-- file. By hand with isql:
--   CREATE DATABASE 'FILE' USER 'SYSDBA' DEFAULT CHARACTER SET UTF8;
--   INPUT 'integra.sql';
--   COMMIT;

-- Units of measure: Merlin code, description.
CREATE TABLE UNIDADE (
  ID_UNIDADE     VARCHAR(40) NOT NULL,
  DESCRICAO      VARCHAR(255)
);
CREATE UNIQUE INDEX UNIDADE ON UNIDADE (ID_UNIDADE);

-- Countries: Merlin code, name.
CREATE TABLE PAIS (
  ID_PAIS        VARCHAR(40) NOT NULL,
  DESCRICAO      VARCHAR(255)
);
CREATE UNIQUE INDEX PAIS ON PAIS (ID_PAIS);

-- Exporters: Merlin code, name.
CREATE TABLE EXPORTADOR (
  ID_EXPORTADOR  VARCHAR(40) NOT NULL,
  DESCRICAO      VARCHAR(255)
);
CREATE UNIQUE INDEX EXPORTADOR ON EXPORTADOR (ID_EXPORTADOR);

-- Manufacturers: Merlin code, name.
CREATE TABLE FABRICANTE (
  ID_FABRICANTE  VARCHAR(40) NOT NULL,
  DESCRICAO      VARCHAR(255)
);
CREATE UNIQUE INDEX FABRICANTE ON FABRICANTE (ID_FABRICANTE);

-- Customer code -> Merlin code: customer name ("SAMSUNG"), registry name in capitals
-- ("FABRICANTE", "EXPORTADOR", "UNIDADE"), the customer's own code, the Merlin code.
CREATE TABLE VINCULO (
  COD_CLIENTE    VARCHAR(40) NOT NULL,
  TABELA         VARCHAR(20) NOT NULL,
  COD_INTEGR     VARCHAR(60) NOT NULL,
  COD_MERLIN     VARCHAR(40)
);
CREATE UNIQUE INDEX VINCULO ON VINCULO (COD_CLIENTE, TABELA, COD_INTEGR);

-- Processes returned to Merlin: kind ("DI", "LI", "DSI", "LSI"), process number, date of the
-- return (written as a 'MM/DD/YYYY' literal).
CREATE TABLE GERADOS (
  TIPO_PROC      VARCHAR(10) NOT NULL,
  NR_PROC        VARCHAR(40) NOT NULL,
  DT_RETORNO     DATE
);
CREATE UNIQUE INDEX GERADOS ON GERADOS (TIPO_PROC, NR_PROC);
